#pragma once

#include "core/AppSettings.h"
#include "platform/Status.h"

#include <QString>

// The managed folders ~/Dropwell/{Inbox,Kept,Expired} under the user's real
// home, and where Keep sends files. Nothing here checks that a folder exists,
// except ensure(), which creates them.
class FolderService {
public:
    FolderService(QString home, QString desktop, QString documents, QString downloads);
    // The home of the password-database entry of the real user (not $HOME,
    // which a sandbox or a sudo may have changed) and the XDG user folders.
    static FolderService forCurrentUser();

    QString root() const { return root_; }
    QString inbox() const { return root_ + QStringLiteral("/Inbox"); }
    QString kept() const { return root_ + QStringLiteral("/Kept"); }
    QString expired() const { return root_ + QStringLiteral("/Expired"); }
    QString desktop() const { return desktop_; }
    QString documents() const { return documents_; }
    QString downloads() const { return downloads_; }
    QString home() const { return home_; }

    // Creates root, Inbox, Kept and Expired in this order; the first failure
    // ends the call.
    Status ensure() const;

    QString keepDestination(const AppSettings& settings) const;

    // Inbox and Expired are where Dropwell tracks and expires files: a file
    // put there on purpose would be expired again.
    bool isExpiringFolder(const QString& folder) const;

    // The same folder, also when spelled through a link or with "..".
    static bool sameFolder(const QString& a, const QString& b);
    // The folder's real path where it exists (links resolved), else its clean path.
    static QString canonical(const QString& folder);

private:
    QString home_;
    QString root_;
    QString desktop_;
    QString documents_;
    QString downloads_;
};
