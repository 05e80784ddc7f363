#pragma once

#include "core/AppSettings.h"
#include "platform/Status.h"

#include <QString>

#include <optional>

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

    // Why Dropwell must leave its folders alone: Inbox, Kept or Expired is a
    // symbolic link, or resolves elsewhere than its place in the root. A link
    // there would let expiry and Delete reach files Dropwell never took in.
    // Nothing when every one that exists is a plain folder in its place.
    std::optional<QString> refusal() const;

    // `path` lies directly in Inbox, Kept or Expired and is not a symbolic
    // link: the only places where Dropwell moves, renames or trashes a file.
    bool holds(const QString& path) const;
    // The same path under this root when it lies directly in the Inbox, Kept
    // or Expired folder of some Dropwell folder (an earlier home); else nothing.
    std::optional<QString> rehomed(const QString& path) const;

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
