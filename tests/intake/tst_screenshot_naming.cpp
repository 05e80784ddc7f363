// How each screenshot tool names its files, read from its configuration as
// the tool writes it: names the tool gives match, others do not.
#include "platform/linux/GSettingsScreenshotTool.h"
#include "platform/linux/IniText.h"
#include "platform/linux/ToolNamings.h"

#include <QTest>

#include <functional>

namespace {

using Naming = std::function<ScreenshotNaming(const IniText&)>;

ScreenshotNaming read(const Naming& naming, const QByteArray& config)
{
    const auto ini = IniText::parse(config);
    return ini ? naming(*ini) : ScreenshotNaming();
}

const Naming flameshot = flameshotNaming;
const Naming spectacle23 = [](const IniText& ini) { return spectacleNaming(ini, false); };
const Naming spectacle24 = [](const IniText& ini) { return spectacleNaming(ini, true); };
const Naming xfce = xfceScreenshooterNaming;

// As Flameshot 12 writes its file after the user set a pattern in its
// configuration dialog.
const QByteArray flameshotCustom = "[General]\ncontrastOpacity=188\nfilenamePattern=shot %T %a:%p %e\n"
                                   "savePath=/home/ann/Pictures\nsavePathFixed=true\n\n[Shortcuts]\nTYPE_COPY=Ctrl+C\n";

} // namespace

Q_DECLARE_METATYPE(Naming)

class ScreenshotNamingTest : public QObject {
    Q_OBJECT
private Q_SLOTS:
    // GSettings in memory, never the desktop's dconf.
    void initTestCase() { qputenv("GSETTINGS_BACKEND", "memory"); }
    void toolsNameTheirFiles_data()
    {
        QTest::addColumn<Naming>("naming");
        QTest::addColumn<QByteArray>("config");
        QTest::addColumn<QString>("name");
        QTest::addColumn<bool>("matches");

        const auto row = [](const char* what, const Naming& naming, const QByteArray& config, const char* name, bool matches) {
            QTest::addRow("%s: %s", what, name) << naming << config << QString::fromUtf8(name) << matches;
        };
        // Flameshot, by default and with the names it actually gave under Xvfb.
        const QByteArray flameshotDefault = "[General]\nsavePath=/home/ann/Pictures\n";
        row("Flameshot default", flameshot, flameshotDefault, "2026-12-07_00-59.png", true);
        row("Flameshot default", flameshot, flameshotDefault, "2026-12-07_00-59_1.png", true);
        row("Flameshot default", flameshot, flameshotDefault, "2026-12-07_00-59_12.jpg", true);
        row("Flameshot default", flameshot, QByteArray(), "2026-12-07_00-59.png", true);
        row("Flameshot default", flameshot, "[General]\nfilenamePattern=\n", "2026-12-07_00-59.png", true);
        row("Flameshot default", flameshot, flameshotDefault, "2026-12-07_00-59.txt", false);
        row("Flameshot default", flameshot, flameshotDefault, "2026-12-07_00-59-00.png", false);
        row("Flameshot default", flameshot, flameshotDefault, "invoice 2026-12-07_00-59.png", false);
        row("Flameshot default", flameshot, flameshotDefault, "2026-12-07_00-59_copy.png", false);
        row("Flameshot custom", flameshot, flameshotCustom, "shot 02-11-33 Mon-AM  7.png", true);
        row("Flameshot custom", flameshot, flameshotCustom, "shot 14-11-33 Dienstag- 17.png", true);
        row("Flameshot custom", flameshot, flameshotCustom, "shot 02:11:33 Mon:AM  7.png", false);
        row("Flameshot custom", flameshot, flameshotCustom, "2026-12-07_00-59.png", false);
        row("Flameshot quoted", flameshot, "[General]\nfilenamePattern=\"%Y, %H\"\n", "2026, 02.png", true);
        row("Flameshot slash", flameshot, "[General]\nfilenamePattern=%D\n", "12\u204407\u204426.png", true);
        row("Flameshot unknown field", flameshot, "[General]\nfilenamePattern=x%iy\n", "x%iy.png", true);
        row("Flameshot locale's date", flameshot, "[General]\nfilenamePattern=%c\n", "Mon Dec  7 02-12-17 2026.png", true);
        row("Flameshot glibc flags", flameshot, "[General]\nfilenamePattern=%-d.%_m\n", "7. 1.png", true);
        row("Flameshot emoji", flameshot, "[General]\nfilenamePattern=\xF0\x9F\x93\xB8 %F\n", "\xF0\x9F\x93\xB8 2026-12-07.png", true);
        row("Flameshot unreadable", flameshot, "[General]\nnot a line\n", "2026-12-07_00-59.png", false);

        // Spectacle up to 23, as Debian 12 ships it.
        row("Spectacle 23 default", spectacle23, QByteArray(), "Screenshot_20261207_005900.png", true);
        row("Spectacle 23 default", spectacle23, QByteArray(), "Screenshot_20261207_005900-1.png", true);
        row("Spectacle 23 default", spectacle23, QByteArray(), "Screenshot_20261207_005900_1.png", false);
        // A window's title, or nothing together with its separator for a screen.
        const QByteArray spectacleTitle = "[GuiConfig]\ncaptureMode=0\n\n[Save]\nsaveFilenameFormat=%D.%M.%Y-%H%m_%T\n";
        row("Spectacle 23 title", spectacle23, spectacleTitle, "07.12.2026-0059_Kate - notes.txt.png", true);
        row("Spectacle 23 title", spectacle23, spectacleTitle, "07.12.2026-0059.png", true);
        row("Spectacle 23 title", spectacle23, spectacleTitle, "07.12.26-0059.png", false);
        // Spectacle 24 and later.
        row("Spectacle 23 emoji", spectacle23, "[Save]\nsaveFilenameFormat=\xF0\x9F\x93\xB8_%Y\n", "\xF0\x9F\x93\xB8_2026.png", true);
        row("Spectacle 24 default", spectacle24, QByteArray(), "Screenshot_20261207_005900.png", true);
        row("Spectacle 24 default", spectacle24, QByteArray(), "Screenshot_20261207_005900-2.webp", true);
        row("Spectacle 24 default", spectacle24, QByteArray(), "Screenshot_2026127_005900.png", false);
        const QByteArray spectacle24Own = "[ImageSave]\nimageFilenameTemplate=shot_<yyyy>-<MMM>-<d>_<title>\n";
        row("Spectacle 24 own", spectacle24, spectacle24Own, "shot_2026-Dez.-7_Firefox.png", true);
        row("Spectacle 24 own", spectacle24, spectacle24Own, "shot_2026-12-7_Firefox.png", false);

        // The Xfce screenshooter.
        row("Xfce default", xfce, "app=none\nscreenshot_dir=file:///home/ann\n", "Screenshot_2026-12-07_00-59-00.png", true);
        row("Xfce default", xfce, QByteArray(), "Screenshot_2026-12-07_00-59-00-1.png", true);
        row("Xfce default", xfce, QByteArray(), "Screenshot_2026-12-07_00-59.png", false);
        row("Xfce own title", xfce, "title=Shot 100%\ntimestamp=true\n", "Shot 100%_2026-12-07_00-59-00.png", true);
        row("Xfce no time", xfce, "title=Desk\ntimestamp=false\n", "Desk.png", true);
        row("Xfce no time", xfce, "title=Desk\ntimestamp=false\n", "Desk-3.png", true);
        row("Xfce no time", xfce, "title=Desk\ntimestamp=false\n", "Desktop.png", false);

        // gnome-screenshot 41, as it named its files under Xvfb.
        const Naming gnome = [](const IniText&) { return GSettingsScreenshotTool(QString()).naming(); };
        row("GNOME", gnome, QByteArray(), "Screenshot from 2026-12-07 02-12-38.png", true);
        row("GNOME", gnome, QByteArray(), "Screenshot from 2026-12-07 02-12-38 - 2.png", true);
        row("GNOME", gnome, QByteArray(), "Screenshot from 2026-12-07.png", false);
        row("GNOME", gnome, QByteArray(), "2026-12-07_00-59.png", false);
    }

    void toolsNameTheirFiles()
    {
        QFETCH(Naming, naming);
        QFETCH(QByteArray, config);
        QFETCH(QString, name);
        QFETCH(bool, matches);
        QCOMPARE(read(naming, config).matches(name), matches);
    }

    void namesOfSeveralTools()
    {
        ScreenshotNames names;
        QVERIFY(!names.matches(QStringLiteral("2026-12-07_00-59.png")));
        names.add(ScreenshotNaming()); // a tool whose naming cannot be read adds nothing
        QVERIFY(names.isEmpty());
        names.add(read(flameshot, QByteArray()));
        names.add(read(xfce, QByteArray()));
        QVERIFY(names.matches(QStringLiteral("2026-12-07_00-59.png")));
        QVERIFY(names.matches(QStringLiteral("Screenshot_2026-12-07_00-59-00.png")));
        QVERIFY(!names.matches(QStringLiteral("Screenshot_20261207_005900.png")));
        QVERIFY(!names.matches(QStringLiteral("report.pdf")));
    }
};

QTEST_GUILESS_MAIN(ScreenshotNamingTest)
#include "tst_screenshot_naming.moc"
