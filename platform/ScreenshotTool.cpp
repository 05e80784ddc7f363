#include "platform/ScreenshotTool.h"

#include <QDir>
#include <QUrl>

std::optional<QString> folderNamedBy(const QString& raw)
{
    const QString value = raw.trimmed();
    if (value.isEmpty())
        return std::nullopt;
    if (value.startsWith(QStringLiteral("file:"))) {
        const QString path = QUrl(value).toLocalFile();
        return path.isEmpty() ? std::nullopt : std::optional(QDir::cleanPath(path));
    }
    if (value.contains(QStringLiteral("://")))
        return std::nullopt;
    if (value == QStringLiteral("~") || value.startsWith(QStringLiteral("~/")))
        return QDir::cleanPath(QDir::homePath() + value.mid(1));
    return QDir::cleanPath(value);
}
