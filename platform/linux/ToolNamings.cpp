#include "platform/linux/ToolNamings.h"

#include "platform/linux/ConfigFileScreenshotTool.h"
#include "platform/linux/IniText.h"

#include <libintl.h>

namespace {

// A text setting, or `fallback` where it is missing or empty.
QString textSetting(const IniText& ini, const QByteArray& group, const QByteArray& key, const QString& fallback)
{
    const auto value = ini.value(group, key);
    return value && !value->isEmpty() ? QString::fromUtf8(*value) : fallback;
}

// Text that strftime(3) writes as it stands.
QString strftimeLiteral(QString text) { return text.replace(QLatin1Char('%'), QStringLiteral("%%")); }

} // namespace

ScreenshotNaming flameshotNaming(const IniText& ini)
{
    // Flameshot reads its settings through Qt's QSettings.
    const auto stored = ini.value("General", "filenamePattern");
    const QString pattern = stored ? ConfigFileScreenshotTool::qtUnescaped(*stored) : QString();
    return ScreenshotNaming::strftime(pattern.isEmpty() ? QStringLiteral("%F_%H-%M") : pattern, QStringLiteral("_"),
        {{QLatin1Char(':'), QLatin1Char('-')}, {QLatin1Char('/'), QChar(0x2044)}});
}

ScreenshotNaming spectacleNaming(const IniText& ini, bool imageSave)
{
    if (imageSave)
        return ScreenshotNaming::angleFields(textSetting(ini, "ImageSave", "imageFilenameTemplate",
                                                 QStringLiteral("Screenshot_<yyyy><MM><dd>_<HH><mm><ss>")),
            QStringLiteral("-"));
    return ScreenshotNaming::percentFields(
        textSetting(ini, "Save", "saveFilenameFormat", QStringLiteral("Screenshot_%Y%M%D_%H%m%S")), QStringLiteral("-"));
}

ScreenshotNaming xfceScreenshooterNaming(const IniText& ini)
{
    const QString title = textSetting(
        ini, {}, "title", QString::fromUtf8(::dgettext("xfce4-screenshooter", "Screenshot")));
    const bool timestamp = ini.value({}, "timestamp").value_or("true") != "false";
    return ScreenshotNaming::strftime(
        strftimeLiteral(title) + (timestamp ? QStringLiteral("_%Y-%m-%d_%H-%M-%S") : QString()), QStringLiteral("-"));
}
