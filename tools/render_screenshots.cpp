// Renders the popover and the settings window, in every appearance, to PNG
// files for the README and for reviewing the look by eye. Run it through
// scripts/screenshots, which gives it an X server of its own.
#include "tests/support/TestSupport.h"
#include "platform/DesktopWindows.h"
#include "platform/linux/ConfigFileScreenshotTool.h"
#include "platform/linux/ToolNamings.h"
#include "ui/SettingsWindow.h"
#include "ui/inbox/InboxListModel.h"
#include "ui/inbox/InboxTableView.h"
#include "ui/popover/PopoverWindow.h"
#include "ui/settings/SidebarButton.h"

#include <QApplication>
#include <QBuffer>
#include <QPainter>
#include <QPdfWriter>
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

// What the listed files hold, so that their rows show real thumbnails: a
// screenshot of a desktop with a window, the first page of an invoice.
QByteArray contentsFor(const QString& name, int variant)
{
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    if (name.endsWith(QLatin1String(".png"))) {
        QImage screen(QSize(1440, 900), QImage::Format_RGB32);
        QPainter painter(&screen);
        QLinearGradient sky(0, 0, 0, 900);
        sky.setColorAt(0, variant ? QColor(0x2b, 0x5f, 0x8c) : QColor(0x6a, 0x3d, 0x7a));
        sky.setColorAt(1, variant ? QColor(0x9c, 0xc9, 0xe8) : QColor(0xe8, 0x9c, 0x7a));
        painter.fillRect(screen.rect(), sky);
        painter.fillRect(QRect(220, 140, 1000, 620), QColor(0xf4, 0xf4, 0xf4));
        painter.fillRect(QRect(220, 140, 1000, 44), QColor(0xd8, 0xd8, 0xd8));
        for (int line = 0; line < 9; ++line)
            painter.fillRect(QRect(270, 230 + line * 52, 600 + (line * 137) % 300, 18), QColor(0x9a, 0x9a, 0x9a));
        painter.end();
        screen.save(&buffer, "PNG");
    } else if (name.endsWith(QLatin1String(".pdf"))) {
        QPdfWriter pdf(&buffer);
        QPainter painter(&pdf);
        const int width = pdf.width();
        painter.fillRect(QRect(0, 0, width, pdf.height() / 9), QColor(0x1f, 0x4e, 0x79));
        for (int line = 0; line < 14; ++line)
            painter.fillRect(QRect(width / 10, pdf.height() / 5 + line * pdf.height() / 24, width * (5 + line % 4) / 10, pdf.height() / 90),
                QColor(0x60, 0x60, 0x60));
        painter.end();
    } else {
        bytes = "x";
    }
    return bytes;
}

// Screenshots are taken once the rows' thumbnails have been made.
void waitForThumbnails(PopoverWindow& popover)
{
    const QAbstractItemModel& rows = *popover.table().model();
    const bool made = QTest::qWaitFor([&] {
        for (int row = 0; row < rows.rowCount(); ++row) {
            const QString name = rows.index(row, 0).data().toString();
            if ((name.endsWith(QLatin1String(".png")) || name.endsWith(QLatin1String(".pdf")))
                && rows.index(row, 0).data(InboxListModel::ThumbnailRole).value<QPixmap>().isNull())
                return false;
        }
        return true;
    }, 10000);
    if (!made)
        std::fprintf(stderr, "The thumbnails did not come within 10 s; the rows show their symbols.\n");
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
    PlainDesktopWindows opaque {false}; // as the pictures have always been drawn
    PopoverWindow popover(model, opaque);
    popover.popUp(QRect());
    const QString prefix = out + QStringLiteral("/popover-") + appearanceName(mode);
    save(popover, prefix + QStringLiteral("-empty.png"));

    const QStringList names {QStringLiteral("invoice-2026-11.pdf"), QStringLiteral("Screen Recording 2026-12-06 at 09.12.40.mp4"),
        QStringLiteral("Screenshot 2026-12-06 at 10.41.03.png"), QStringLiteral("holiday photos.zip"),
        QStringLiteral("Screenshot 2026-12-06 at 11.02.17.png")};
    for (int i = 0; i < names.size(); ++i) {
        writeFile(world.folders().inbox() + QLatin1Char('/') + names.at(i), contentsFor(names.at(i), (i / 2) % 2));
        world.clock.advance(47 * 60);
        model.ingestInbox();
    }
    waitForThumbnails(popover);
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
    model.expiry().pauseFor24Hours();
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
