#include "core/FolderService.h"

#include "core/FileNames.h"
#include "platform/FileSystem.h"

#include <QCoreApplication>
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

const QStringList managedNames {QStringLiteral("Inbox"), QStringLiteral("Kept"), QStringLiteral("Expired")};

// A path written without "." or ".." components, doubled or trailing slashes:
// the only form in which a parent compared as text is the real parent.
bool isPlainPath(const QString& path)
{
    return !path.isEmpty() && QDir::cleanPath(path) == path && FileNames::lastComponent(path) != QLatin1String("..")
        && FileNames::lastComponent(path) != QLatin1String(".");
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

std::optional<QString> FolderService::refusal() const
{
    const QString realRoot = canonical(root());
    for (const QString& name : managedNames) {
        const QString folder = root() + QLatin1Char('/') + name;
        const FileSystem::Kind kind = FileSystem::kindOf(folder);
        const bool elsewhere = kind == FileSystem::Kind::Link
            || (kind != FileSystem::Kind::Unknown && canonical(folder) != realRoot + QLatin1Char('/') + name);
        if (elsewhere) {
            return QCoreApplication::translate("FolderService",
                "~/Dropwell/%1 leads to another folder, so Dropwell leaves it alone. "
                "Make it a plain folder, then open Dropwell again.")
                .arg(name);
        }
    }
    return std::nullopt;
}

bool FolderService::holds(const QString& path) const
{
    if (!isPlainPath(path))
        return false;
    const QString parent = FileNames::parentFolder(path);
    return (parent == inbox() || parent == kept() || parent == expired())
        && FileSystem::kindOf(path) != FileSystem::Kind::Link;
}

std::optional<QString> FolderService::rehomed(const QString& path) const
{
    if (!isPlainPath(path))
        return std::nullopt;
    const QString parent = FileNames::parentFolder(path);
    const QString folderName = FileNames::lastComponent(parent);
    if (!managedNames.contains(folderName)
        || FileNames::lastComponent(FileNames::parentFolder(parent)) != QLatin1String("Dropwell"))
        return std::nullopt;
    return root() + QLatin1Char('/') + folderName + QLatin1Char('/') + FileNames::lastComponent(path);
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
