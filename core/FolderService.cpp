#include "core/FolderService.h"

#include "platform/FileSystem.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <pwd.h>
#include <unistd.h>

namespace {

QString passwordDatabaseHome()
{
    if (const passwd* entry = ::getpwuid(::getuid()); entry && entry->pw_dir && entry->pw_dir[0])
        return QFile::decodeName(entry->pw_dir);
    return QDir::homePath();
}

QString userFolder(QStandardPaths::StandardLocation location, const QString& fallbackName)
{
    const QString folder = QStandardPaths::writableLocation(location);
    return folder.isEmpty() ? QDir::homePath() + QLatin1Char('/') + fallbackName : folder;
}

} // namespace

FolderService::FolderService(QString home, QString desktop, QString documents, QString downloads)
    : home_(QDir::cleanPath(home))
    , root_(home_ + QStringLiteral("/Dropwell"))
    , desktop_(std::move(desktop))
    , documents_(std::move(documents))
    , downloads_(std::move(downloads))
{
}

FolderService FolderService::forCurrentUser()
{
    return FolderService(passwordDatabaseHome(), userFolder(QStandardPaths::DesktopLocation, QStringLiteral("Desktop")),
        userFolder(QStandardPaths::DocumentsLocation, QStringLiteral("Documents")),
        userFolder(QStandardPaths::DownloadLocation, QStringLiteral("Downloads")));
}

Status FolderService::ensure() const
{
    for (const QString& folder : {root(), inbox(), kept(), expired()}) {
        if (Status made = FileSystem::makeFolders(folder); !made.ok())
            return made;
    }
    return Status::success();
}

QString FolderService::keepDestination(const AppSettings& settings) const
{
    switch (settings.keepDestination) {
    case KeepDestination::Kept:
        return kept();
    case KeepDestination::Documents:
        return documents();
    case KeepDestination::Desktop:
        return desktop();
    case KeepDestination::Other:
        if (settings.keepDestinationPath && !settings.keepDestinationPath->isEmpty())
            return *settings.keepDestinationPath;
        return kept();
    }
    return kept();
}

bool FolderService::isExpiringFolder(const QString& folder) const
{
    return sameFolder(folder, inbox()) || sameFolder(folder, expired());
}

QString FolderService::canonical(const QString& folder)
{
    const QString resolved = QFileInfo(folder).canonicalFilePath();
    return resolved.isEmpty() ? QDir::cleanPath(folder) : resolved;
}

bool FolderService::sameFolder(const QString& a, const QString& b)
{
    return canonical(a) == canonical(b);
}
