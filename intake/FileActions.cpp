#include "intake/FileActions.h"

#include "core/FileNames.h"
#include "core/Previewer.h"
#include "platform/Clipboard.h"
#include "platform/FileManager.h"
#include "platform/FileSystem.h"
#include "platform/Trash.h"

#include <QCoreApplication>
#include <QDir>

#include <QFile>

#include <cerrno>
#include <cstdio>

namespace {

// Someone may take a free name between our look and our move; then the next
// free name is tried, a few times.
constexpr int attemptsAgainstRaces = 8;

} // namespace

FileActions::FileActions(Trash& trash, Clipboard& clipboard, FileManager& fileManager, Previewer& previewer)
    : trash_(trash)
    , clipboard_(clipboard)
    , fileManager_(fileManager)
    , previewer_(previewer)
{
}

Status FileActions::moveToFree(const QString& from, const QString& folder, const QString& name, QString& movedTo) const
{
    for (int attempt = 0;; ++attempt) {
        const auto target = FileNames::uniqueDestination(folder, name);
        if (!target.ok())
            return target.status();
        if (QDir::cleanPath(target.value()) == QDir::cleanPath(from)) {
            movedTo = from;
            return Status::success();
        }
        const Status moved = FileSystem::moveNoReplace(from, target.value());
        if (moved.ok())
            movedTo = target.value();
        if (moved.ok() || moved.code() != EEXIST || attempt + 1 == attemptsAgainstRaces)
            return moved;
    }
}

StatusOr<TrackedFile> FileActions::move(const TrackedFile& file, const QString& folder) const
{
    TrackedFile moved = file;
    const Status status = moveToFree(file.path, folder, file.name(), moved.path);
    if (!status.ok())
        return status;
    return moved;
}

StatusOr<TrackedFile> FileActions::rename(const TrackedFile& file, const QString& name) const
{
    QString wanted = cleanName(name);
    if (wanted.isEmpty())
        return Status::failure(EINVAL, QCoreApplication::translate("FileActions", "'%1' is not a valid file name").arg(name));
    const QString current = file.name();
    const QString extension = FileNames::split(current).extension;
    if (!extension.isEmpty() && FileNames::split(wanted).extension.isEmpty())
        wanted += QLatin1Char('.') + extension;
    if (wanted == current)
        return file;

    const QString folder = FileNames::parentFolder(file.path);
    const QString target = folder + QLatin1Char('/') + wanted;
    TrackedFile renamed = file;
    // On a file system that ignores letter case, a case-only change finds the
    // file itself under the new name: that is the file, not a rival.
    if (FileSystem::sameFile(file.path, target)) {
        if (::rename(QFile::encodeName(file.path).constData(), QFile::encodeName(target).constData()) != 0)
            return Status::fromErrno(errno, target);
        renamed.path = target;
        return renamed;
    }
    const Status status = moveToFree(file.path, folder, wanted, renamed.path);
    if (!status.ok())
        return status;
    return renamed;
}

Status FileActions::trash(const QString& path) const
{
    return trash_.moveToTrash(path);
}

void FileActions::copy(const QStringList& paths) const
{
    if (paths.isEmpty())
        return;
    clipboard_.copyFiles(paths, paths.size() == 1 && isPicture(paths.front()));
}

void FileActions::reveal(const QStringList& paths) const
{
    fileManager_.showItems(paths);
}

std::optional<QString> FileActions::chooseFolder(const QString& acceptLabel) const
{
    closePreview();
    return fileManager_.chooseFolder(acceptLabel, QCoreApplication::translate("FileActions", "Choose a folder"));
}

void FileActions::togglePreview(const QStringList& paths, int startAt) const
{
    previewer_.toggle(paths, startAt);
}

bool FileActions::isPreviewVisible() const { return previewer_.isVisible(); }

void FileActions::closePreview() const { previewer_.close(); }

QString FileActions::cleanName(const QString& name)
{
    QString cleaned = name;
    for (QChar& c : cleaned) {
        if (c == QLatin1Char('/') || c == QLatin1Char(':') || c == QChar(0))
            c = QLatin1Char('-');
    }
    cleaned = cleaned.trimmed();
    qsizetype dots = 0;
    while (dots < cleaned.size() && cleaned[dots] == QLatin1Char('.'))
        ++dots;
    return cleaned.mid(dots);
}

bool FileActions::isPicture(const QString& path)
{
    static const QStringList extensions {QStringLiteral("png"), QStringLiteral("jpg"), QStringLiteral("jpeg"),
        QStringLiteral("gif"), QStringLiteral("tif"), QStringLiteral("tiff"), QStringLiteral("heic"),
        QStringLiteral("webp")};
    return extensions.contains(FileNames::split(FileNames::lastComponent(path)).extension.toLower());
}
