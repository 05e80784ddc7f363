// How each screenshot tool names its files, read from its configuration as
// the tool writes it: names the tool gives match, others do not.
#include "platform/linux/GSettingsScreenshotTool.h"
#include "platform/linux/IniText.h"
#include "platform/linux/ToolNamings.h"

#include <QTest>

#include <functional>
#include <initializer_list>
#include <utility>

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

        // Names the tool gives, then names it never gives.
        const auto rows = [](const char* what, const Naming& naming, const QByteArray& config, std::initializer_list<const char*> given,
                              std::initializer_list<const char*> notGiven = {}) {
            for (const auto& [names, matches] : {std::pair(given, true), std::pair(notGiven, false)}) {
                for (const char* name : names)
                    QTest::addRow("%s: %s", what, name) << naming << config << QString::fromUtf8(name) << matches;
            }
        };
        // Flameshot, by default and with the names it actually gave under Xvfb.
        const QByteArray flameshotDefault = "[General]\nsavePath=/home/ann/Pictures\n";
        rows("Flameshot default", flameshot, flameshotDefault, {"2026-12-07_00-59.png", "2026-12-07_00-59_1.png", "2026-12-07_00-59_12.jpg"},
            {"2026-12-07_00-59.txt", "2026-12-07_00-59-00.png", "invoice 2026-12-07_00-59.png", "2026-12-07_00-59_copy.png"});
        rows("Flameshot without a file", flameshot, QByteArray(), {"2026-12-07_00-59.png"});
        rows("Flameshot empty pattern", flameshot, "[General]\nfilenamePattern=\n", {"2026-12-07_00-59.png"});
        rows("Flameshot custom", flameshot, flameshotCustom, {"shot 02-11-33 Mon-AM  7.png", "shot 14-11-33 Dienstag- 17.png"},
            {"shot 02:11:33 Mon:AM  7.png", "2026-12-07_00-59.png"});
        rows("Flameshot quoted", flameshot, "[General]\nfilenamePattern=\"%Y, %H\"\n", {"2026, 02.png"});
        rows("Flameshot slash", flameshot, "[General]\nfilenamePattern=%D\n", {"12\u204407\u204426.png"});
        rows("Flameshot unknown field", flameshot, "[General]\nfilenamePattern=x%iy\n", {"x%iy.png"});
        rows("Flameshot locale's date", flameshot, "[General]\nfilenamePattern=%c\n", {"Mon Dec  7 02-12-17 2026.png"});
        rows("Flameshot glibc flags", flameshot, "[General]\nfilenamePattern=%-d.%_m\n", {"7. 1.png"});
        rows("Flameshot emoji", flameshot, "[General]\nfilenamePattern=\xF0\x9F\x93\xB8 %F\n", {"\xF0\x9F\x93\xB8 2026-12-07.png"});
        rows("Flameshot unreadable", flameshot, "[General]\nnot a line\n", {}, {"2026-12-07_00-59.png"});

        // Spectacle up to 23, as Debian 12 ships it.
        rows("Spectacle 23 default", spectacle23, QByteArray(), {"Screenshot_20261207_005900.png", "Screenshot_20261207_005900-1.png"},
            {"Screenshot_20261207_005900_1.png"});
        // A window's title, or nothing together with its separator for a screen.
        rows("Spectacle 23 title", spectacle23, "[GuiConfig]\ncaptureMode=0\n\n[Save]\nsaveFilenameFormat=%D.%M.%Y-%H%m_%T\n",
            {"07.12.2026-0059_Kate - notes.txt.png", "07.12.2026-0059.png"}, {"07.12.26-0059.png"});
        rows("Spectacle 23 emoji", spectacle23, "[Save]\nsaveFilenameFormat=\xF0\x9F\x93\xB8_%Y\n", {"\xF0\x9F\x93\xB8_2026.png"});
        // Spectacle 24 and later.
        rows("Spectacle 24 default", spectacle24, QByteArray(), {"Screenshot_20261207_005900.png", "Screenshot_20261207_005900-2.webp"},
            {"Screenshot_2026127_005900.png"});
        rows("Spectacle 24 own", spectacle24, "[ImageSave]\nimageFilenameTemplate=shot_<yyyy>-<MMM>-<d>_<title>\n",
            {"shot_2026-Dez.-7_Firefox.png"}, {"shot_2026-12-7_Firefox.png"});

        // The Xfce screenshooter.
        rows("Xfce default", xfce, "app=none\nscreenshot_dir=file:///home/ann\n", {"Screenshot_2026-12-07_00-59-00.png"});
        rows("Xfce without a file", xfce, QByteArray(), {"Screenshot_2026-12-07_00-59-00-1.png"}, {"Screenshot_2026-12-07_00-59.png"});
        rows("Xfce own title", xfce, "title=Shot 100%\ntimestamp=true\n", {"Shot 100%_2026-12-07_00-59-00.png"});
        rows("Xfce no time", xfce, "title=Desk\ntimestamp=false\n", {"Desk.png", "Desk-3.png"}, {"Desktop.png"});

        // gnome-screenshot 41, as it named its files under Xvfb.
        const Naming gnome = [](const IniText&) { return GSettingsScreenshotTool(QString()).naming(); };
        rows("GNOME", gnome, QByteArray(),
            {"Screenshot from 2026-12-07 02-12-38.png", "Screenshot from 2026-12-07 02-12-38 - 2.png"},
            {"Screenshot from 2026-12-07.png", "2026-12-07_00-59.png"});
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
