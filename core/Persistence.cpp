#include "core/Persistence.h"

#include "core/FileNames.h"
#include "core/StoredJson.h"
#include "platform/FileSystem.h"

#include <QFile>
#include <QSaveFile>
#include <QStandardPaths>

namespace {

// The decoded file, or the defaults and why not. The size is checked on the
// open file and no more than it is read, so a file that grows meanwhile
// cannot make the read unbounded.
template <typename T>
Persistence::Loaded<T> load(
    const QString& path, qsizetype maxBytes, std::optional<T> (*decode)(const QByteArray&))
{
    if (!FileSystem::exists(path))
        return {T {}, Persistence::LoadState::Missing};
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {T {}, Persistence::LoadState::Unreadable};
    if (file.size() > maxBytes)
        return {T {}, Persistence::LoadState::TooLarge};
    const QByteArray bytes = file.read(file.size() + 1);
    if (bytes.size() > maxBytes)
        return {T {}, Persistence::LoadState::TooLarge};
    auto decoded = decode(bytes);
    if (!decoded)
        return {T {}, Persistence::LoadState::Unreadable};
    return {std::move(*decoded), Persistence::LoadState::Loaded};
}

} // namespace

Persistence::Persistence(QString supportFolder) : support_(std::move(supportFolder)) {}

Persistence Persistence::forCurrentUser()
{
    QString data = QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation);
    return Persistence(data + QStringLiteral("/Dropwell"));
}

QString Persistence::indexPath() const { return support_ + QStringLiteral("/index.json"); }

QString Persistence::settingsPath() const { return support_ + QStringLiteral("/settings.json"); }

void Persistence::ensureSupport() const
{
    (void)FileSystem::makeFolders(support_); // a failure shows in the next write
}

Persistence::Loaded<AppSettings> Persistence::loadSettings() const
{
    return load<AppSettings>(settingsPath(), StoredJson::maxSettingsBytes, &StoredJson::decodeSettings);
}

Persistence::Loaded<TrackedFiles> Persistence::loadIndex() const
{
    return load<TrackedFiles>(indexPath(), StoredJson::maxIndexBytes, &StoredJson::decodeIndex);
}

bool Persistence::saveSettings(const AppSettings& settings) const
{
    return write(settingsPath(), StoredJson::encodeSettings(settings));
}

bool Persistence::saveIndex(const TrackedFiles& files) const
{
    return write(indexPath(), StoredJson::encodeIndex(files));
}

std::optional<QString> Persistence::keepAside(const QString& path) const
{
    const auto [base, extension] = FileNames::split(FileNames::lastComponent(path));
    const auto target = FileNames::uniqueDestination(FileNames::parentFolder(path),
        base + QStringLiteral(".unreadable.") + extension);
    if (!target.ok() || !FileSystem::moveNoReplace(path, target.value()).ok())
        return std::nullopt;
    return target.value();
}

bool Persistence::write(const QString& path, const QByteArray& bytes) const
{
    ensureSupport();
    // QSaveFile writes a temporary file in the same folder, flushes it to disk
    // and renames it over the target only when everything was written.
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (file.write(bytes) != bytes.size()) {
        file.cancelWriting();
        return false;
    }
    return file.commit();
}
