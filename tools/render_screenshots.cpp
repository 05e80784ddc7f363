// Renders the popover and the settings window, in every appearance, to PNG
// files for the README and for reviewing the look by eye. Run it through
// scripts/screenshots, which gives it an X server of its own.
#include "tests/support/TestSupport.h"
#include "platform/linux/ConfigFileScreenshotTool.h"
#include "platform/linux/ToolNamings.h"
#include "ui/SettingsWindow.h"
#include "ui/popover/PopoverWindow.h"
#include "ui/settings/SidebarButton.h"

#include <QApplication>
#include <QDir>
#include <QTest>

#include <cstdio>

namespace {

QString appearanceName(AppearanceMode mode) { return QString::fromLatin1(rawValue(mode).data()); }

void save(QWidget& window, const QString& path)
{
    QTest::qWait(100); // let layouts and repaints settle
    window.grab().save(path);
    std::printf("%s\n", qPrintable(path));
}

// A Screenshot tool whose folder the user has since pointed elsewhere, so
// the popover shows its banner.
std::unique_ptr<ConfigFileScreenshotTool> driftedTool(TestWorld& world)
{
    return std::make_unique<ConfigFileScreenshotTool>(ConfigFileScreenshotTool::Description {
        QStringLiteral("flameshot"), QStringLiteral("Flameshot"), world.path(QStringLiteral("config/flameshot.ini")), "General", "savePath",
        ConfigFileScreenshotTool::Spelling::QtEscapedPath, world.path(QStringLiteral("Pictures")), true, flameshotNaming});
}

void renderPopover(const QString& out, AppearanceMode mode)
{
    TestWorld world;
    auto tool = driftedTool(world);
    ModelServices services = world.services();
    services.screenshots = ScreenshotSource({tool.get()}, tool.get(), std::nullopt);
    AppModel model(services);
    model.changeSettings([&](AppSettings& s) { s.appearance = mode; });
    PopoverWindow popover(model);
    popover.popUp(QRect());
    const QString prefix = out + QStringLiteral("/popover-") + appearanceName(mode);
    save(popover, prefix + QStringLiteral("-empty.png"));

    const QStringList names {QStringLiteral("invoice-2026-11.pdf"), QStringLiteral("Screen Recording 2026-12-06 at 09.12.40.mp4"),
        QStringLiteral("Screenshot 2026-12-06 at 10.41.03.png"), QStringLiteral("holiday photos.zip"),
        QStringLiteral("Screenshot 2026-12-06 at 11.02.17.png")};
    for (const QString& name : names) {
        writeFile(world.folders().inbox() + QLatin1Char('/') + name);
        world.clock.advance(47 * 60);
        model.ingestInbox();
    }
    save(popover, prefix + QStringLiteral("-files.png"));

    model.setSelecting(true);
    model.setSelectedIDs({model.visibleInbox().at(0).id, model.visibleInbox().at(2).id});
    save(popover, prefix + QStringLiteral("-selecting.png"));

    model.setSelecting(false);
    model.setSelectedIDs({});
    (void)tool->store(QStringLiteral("/home/ann/Desktop"));
    model.start(); // the popover opens again and sees the drift
    model.setToast(QStringLiteral("Could not keep 'holiday photos.zip'."));
    save(popover, prefix + QStringLiteral("-toast-and-banner.png"));
}

void renderSettings(const QString& out, AppearanceMode mode)
{
    TestWorld world;
    AppModel model(world.services());
    model.changeSettings([&](AppSettings& s) {
        s.appearance = mode;
        s.previousScreenshotLocation = QStringLiteral("/home/ann/Pictures/Screenshots");
    });
    model.pauseExpiryFor24Hours();
    SettingsWindow settings(model, [] { return Status::success(); });
    settings.showAndRaise();
    const QStringList panes {QStringLiteral("general"), QStringLiteral("capture"), QStringLiteral("auto-delete"), QStringLiteral("about")};
    const auto buttons = settings.findChildren<SidebarButton*>();
    for (int i = 0; i < panes.size() && i < buttons.size(); ++i) {
        buttons.at(i)->click();
        save(settings, out + QStringLiteral("/settings-") + appearanceName(mode) + QLatin1Char('-') + panes.at(i) + QStringLiteral(".png"));
    }
}

} // namespace

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationVersion(QStringLiteral(DROPWELL_VERSION));
    const QString out = argc > 1 ? QString::fromLocal8Bit(argv[1]) : QStringLiteral("docs/screenshots");
    QDir().mkpath(out);
    for (const AppearanceMode mode : {AppearanceMode::Black, AppearanceMode::Grey, AppearanceMode::Light}) {
        renderPopover(out, mode);
        renderSettings(out, mode);
    }
    return 0;
}
