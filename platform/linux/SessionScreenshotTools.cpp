#include "platform/linux/SessionScreenshotTools.h"

#include "platform/linux/ConfigFileScreenshotTool.h"
#include "platform/linux/GSettingsScreenshotTool.h"
#include "platform/linux/SessionDesktop.h"
#include "platform/linux/ToolNamings.h"

#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>

#include <libintl.h>

namespace {

bool onPath(const char* executable)
{
    return !QStandardPaths::findExecutable(QString::fromLatin1(executable)).isEmpty();
}

// Spectacle 24 moved its folder from [Save] defaultSaveLocation to
// [ImageSave] imageSaveLocation; its update scripts say which one is here.
bool spectacleUsesImageSave()
{
    const QStringList scripts = QDir(QStringLiteral("/usr/share/kconf_update"))
                                    .entryList({QStringLiteral("spectacle-*")}, QDir::Files);
    for (const QString& script : scripts) {
        if (script.mid(10, 2).toInt() >= 24)
            return true;
    }
    return false;
}

// Where the tools save while nothing else is set: Pictures, or the home
// folder where there is none (Flameshot refuses a folder that is missing).
QString toolsDefaultFolder(const SessionScreenshotTools::Places& places)
{
    return QFileInfo(places.pictures).isDir() ? places.pictures : places.home;
}

std::unique_ptr<ScreenshotTool> spectacle(const SessionScreenshotTools::Places& places)
{
    const bool imageSave = spectacleUsesImageSave();
    return std::make_unique<ConfigFileScreenshotTool>(ConfigFileScreenshotTool::Description {
        QStringLiteral("spectacle"), QStringLiteral("Spectacle"), places.configHome + QStringLiteral("/spectaclerc"),
        imageSave ? QByteArray("ImageSave") : QByteArray("Save"),
        imageSave ? QByteArray("imageSaveLocation") : QByteArray("defaultSaveLocation"),
        ConfigFileScreenshotTool::Spelling::FileUrlWithSlash, toolsDefaultFolder(places), onPath("spectacle"),
        [imageSave](const IniText& ini) { return spectacleNaming(ini, imageSave); }});
}

std::unique_ptr<ScreenshotTool> flameshot(const SessionScreenshotTools::Places& places)
{
    return std::make_unique<ConfigFileScreenshotTool>(ConfigFileScreenshotTool::Description {
        QStringLiteral("flameshot"), QStringLiteral("Flameshot"), places.configHome + QStringLiteral("/flameshot/flameshot.ini"), "General",
        "savePath", ConfigFileScreenshotTool::Spelling::QtEscapedPath, toolsDefaultFolder(places), onPath("flameshot"),
        flameshotNaming});
}

std::unique_ptr<ScreenshotTool> xfceScreenshooter(const SessionScreenshotTools::Places& places)
{
    return std::make_unique<ConfigFileScreenshotTool>(ConfigFileScreenshotTool::Description {
        QStringLiteral("xfce4-screenshooter"), QStringLiteral("Xfce Screenshooter"), places.configHome + QStringLiteral("/xfce4/xfce4-screenshooter"), "",
        "screenshot_dir", ConfigFileScreenshotTool::Spelling::FileUrl, toolsDefaultFolder(places), onPath("xfce4-screenshooter"),
        xfceScreenshooterNaming});
}

} // namespace

SessionScreenshotTools SessionScreenshotTools::find(const Places& places)
{
    SessionScreenshotTools session;
    // In the order a desktop without a tool of its own most likely uses them.
    std::vector<std::unique_ptr<ScreenshotTool>> known;
    known.push_back(flameshot(places));
    known.push_back(std::make_unique<GSettingsScreenshotTool>(toolsDefaultFolder(places)));
    known.push_back(spectacle(places));
    known.push_back(xfceScreenshooter(places));
    for (auto& tool : known) {
        if (tool->isInstalled())
            session.installed.push_back(std::move(tool));
    }
    const auto installed = [&](const char* id) -> ScreenshotTool* {
        for (const auto& tool : session.installed) {
            if (tool->id() == QString::fromLatin1(id))
                return tool.get();
        }
        return nullptr;
    };

    if (sessionIs(places.desktop, "GNOME")) {
        // GNOME Shell names its folders in the user's language.
        session.shellFolder = places.pictures + QLatin1Char('/') + QString::fromUtf8(::dgettext("gnome-shell", "Screenshots"));
        session.shellRecordingsFolder = places.videos + QLatin1Char('/') + QString::fromUtf8(::dgettext("gnome-shell", "Screencasts"));
        return session;
    }
    if (sessionIs(places.desktop, "KDE"))
        session.primary = installed("spectacle");
    else if (sessionIs(places.desktop, "XFCE"))
        session.primary = installed("xfce4-screenshooter");
    if (!session.primary && !session.installed.empty())
        session.primary = session.installed.front().get();
    return session;
}

SessionScreenshotTools::Places SessionScreenshotTools::currentPlaces()
{
    const QString pictures = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
    const QString videos = QStandardPaths::writableLocation(QStandardPaths::MoviesLocation);
    return {
        qEnvironmentVariable("XDG_CURRENT_DESKTOP"),
        QStandardPaths::writableLocation(QStandardPaths::GenericConfigLocation),
        pictures.isEmpty() ? QDir::homePath() : pictures,
        QDir::homePath(),
        videos.isEmpty() ? QDir::homePath() : videos,
    };
}
