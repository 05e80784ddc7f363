#include "ui/InboxRowText.h"

#include "core/FileNames.h"
#include "ui/RelativeTime.h"

#include <QCoreApplication>

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
        return QCoreApplication::translate("InboxRowText", "Recording");
    switch (file.source) {
    case FileSource::Screenshot:
        return QCoreApplication::translate("InboxRowText", "Screenshot");
    case FileSource::Downloads:
        return QCoreApplication::translate("InboxRowText", "Downloads");
    case FileSource::BrowserDownload:
        return QCoreApplication::translate("InboxRowText", "Browser");
    case FileSource::Manual:
        return QCoreApplication::translate("InboxRowText", "Inbox");
    }
    return QCoreApplication::translate("InboxRowText", "Inbox");
}

QString meta(const TrackedFile& file, const QDateTime& now, const RelativeTime& relative)
{
    const QString separator = QStringLiteral(" \u00B7 ");
    QString text = relative.format(file.landedAt, now) + separator + kind(file);
    if (file.expiresAt)
        text += separator + QCoreApplication::translate("InboxRowText", "expires ") + relative.format(*file.expiresAt, now);
    return text;
}

} // namespace InboxRowText
