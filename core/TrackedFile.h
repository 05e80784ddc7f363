#pragma once

#include "core/RawValues.h"

#include <QDateTime>
#include <QList>
#include <QString>
#include <QUuid>

#include <optional>

// How a file arrived. BrowserDownload is a download the browser itself
// handed over, not one found in Downloads: Dropwell never sets it, but an
// index may hold it and keeps it as it is.
enum class FileSource { Screenshot, Downloads, BrowserDownload, Manual };

// The managed place a file is in.
enum class FileFolder { Inbox, Kept, Expired, Trash };

template <>
struct RawValues<FileSource> {
    static constexpr std::array<std::pair<FileSource, std::string_view>, 4> table {{
        {FileSource::Screenshot, "screenshot"},
        {FileSource::Downloads, "downloads"},
        {FileSource::BrowserDownload, "safari"}, // the stored name stays
        {FileSource::Manual, "manual"},
    }};
};

template <>
struct RawValues<FileFolder> {
    static constexpr std::array<std::pair<FileFolder, std::string_view>, 4> table {{
        {FileFolder::Inbox, "inbox"},
        {FileFolder::Kept, "kept"},
        {FileFolder::Expired, "expired"},
        {FileFolder::Trash, "trash"},
    }};
};

// One file Dropwell manages: where it is, where it came from, when it arrived
// and when it is due to expire.
struct TrackedFile {
    QUuid id;
    QString path;
    std::optional<quint64> inode; // carried through, never set by Dropwell
    qint64 size = 0;
    FileSource source = FileSource::Manual;
    QDateTime landedAt;
    std::optional<QDateTime> expiresAt;
    std::optional<QDateTime> expiredAt;
    bool kept = false;
    FileFolder folder = FileFolder::Inbox;
    std::optional<QDateTime> trashedAt;

    bool operator==(const TrackedFile&) const = default;

    // The file's name: the last component of its path.
    QString name() const;

    // Captures and recordings are recognised by name, whatever the letter case.
    static FileSource inferSource(const QString& name, FileSource hint);
};

using TrackedFiles = QList<TrackedFile>;
