#include "ui/InboxRowText.h"

#include "core/FileNames.h"
#include "ui/RelativeTime.h"

namespace InboxRowText {

bool isRecording(const TrackedFile& file)
{
    // GNOME Shell records to WebM.
    static const QStringList videoExtensions {
        QStringLiteral("mp4"), QStringLiteral("mov"), QStringLiteral("m4v"), QStringLiteral("webm"), QStringLiteral("mkv")};
    return videoExtensions.contains(FileNames::split(file.name()).extension.toLower());
}

QString kind(const TrackedFile& file)
{
    if (isRecording(file))
        return QStringLiteral("Recording");
    switch (file.source) {
    case FileSource::Screenshot:
        return QStringLiteral("Screenshot");
    case FileSource::Downloads:
        return QStringLiteral("Downloads");
    case FileSource::Safari:
        return QStringLiteral("Safari");
    case FileSource::Manual:
        return QStringLiteral("Inbox");
    }
    return QStringLiteral("Inbox");
}

QString meta(const TrackedFile& file, const QDateTime& now, const RelativeTime& relative)
{
    const QString separator = QStringLiteral(" \u00B7 ");
    QString text = relative.format(file.landedAt, now) + separator + kind(file);
    if (file.expiresAt)
        text += separator + QStringLiteral("expires ") + relative.format(*file.expiresAt, now);
    return text;
}

} // namespace InboxRowText
