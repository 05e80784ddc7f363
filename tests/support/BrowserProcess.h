#pragma once

// A real web browser of the Debian archive (Chromium or Firefox ESR) showing
// one page in a window of 1000 × 800, with a profile and a home of its own
// in a temporary folder, so that it reads and writes nothing of the user's
// and opens no first-run pages; ended with the object.

#include "platform/ScreenCapture.h"
#include "tests/support/Awaited.h"

#include <QDir>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>

#include <unistd.h>

inline constexpr QSize browserWindowSize {1000, 800};
// A browser's start on a busy machine.
inline constexpr int browserStartsWithinMs = 60000;

class BrowserProcess {
public:
    enum class Kind { Chromium, Firefox };

    // Chromium shows its page to the accessibility bus only when told to
    // (the desktop's switch alone does not do it), and run as root warns of
    // its --no-sandbox in an info bar over the page unless asked not to.
    BrowserProcess(Kind kind, const QString& address, bool accessibility, bool infoBar)
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
            environment.insert(QString::fromLatin1(variable), home_.path());
        process_.setProcessEnvironment(environment);
        process_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
        process_.setStandardOutputFile(QProcess::nullDevice());
        const QString profile = home_.filePath(QStringLiteral("profile"));
        QDir().mkpath(profile);
        QStringList arguments;
        if (kind == Kind::Chromium) {
            arguments = {QStringLiteral("--user-data-dir=") + profile, QStringLiteral("--no-first-run"),
                QStringLiteral("--no-default-browser-check"), QStringLiteral("--disable-background-networking"),
                QStringLiteral("--disable-component-update"), QStringLiteral("--disable-sync"),
                QStringLiteral("--disable-gpu"), QStringLiteral("--password-store=basic"),
                QStringLiteral("--window-position=0,0"),
                QStringLiteral("--window-size=%1,%2").arg(browserWindowSize.width()).arg(browserWindowSize.height())};
            if (geteuid() == 0)
                arguments << QStringLiteral("--no-sandbox");
            if (!infoBar)
                arguments << QStringLiteral("--test-type");
            if (accessibility)
                arguments << QStringLiteral("--force-renderer-accessibility");
        } else {
            writeFirefoxPreferences(profile);
            arguments = {QStringLiteral("--no-remote"), QStringLiteral("--profile"), profile,
                QStringLiteral("--width"), QString::number(browserWindowSize.width()), QStringLiteral("--height"),
                QString::number(browserWindowSize.height())};
        }
        arguments << address;
        process_.start(program(kind), arguments);
    }
    ~BrowserProcess()
    {
        process_.terminate();
        if (!process_.waitForFinished(10000)) {
            process_.kill();
            process_.waitForFinished();
        }
    }

    static QString program(Kind kind)
    {
        return QStandardPaths::findExecutable(kind == Kind::Chromium ? QStringLiteral("chromium") : QStringLiteral("firefox-esr"));
    }

    // Waits for the window whose title begins with the page's title.
    [[nodiscard]] bool appear(ScreenCapture& capture, const QString& title)
    {
        return QTest::qWaitFor(
            [&] {
                const StatusOr<CaptureContent> content = awaited(capture.content());
                for (const CaptureWindow& listed : content.value().windows) {
                    if (listed.title.startsWith(title) && listed.frame.width() >= browserWindowSize.width() - 20) {
                        window = listed;
                        return true;
                    }
                }
                return false;
            },
            browserStartsWithinMs);
    }

    CaptureWindow window;

private:
    static void writeFirefoxPreferences(const QString& profile)
    {
        QFile file(QDir(profile).filePath(QStringLiteral("user.js")));
        if (!file.open(QIODevice::WriteOnly))
            return;
        for (const char* preference : {
                 R"(user_pref("browser.shell.checkDefaultBrowser", false);)",
                 R"(user_pref("browser.startup.homepage_override.mstone", "ignore");)",
                 R"(user_pref("startup.homepage_welcome_url", "");)",
                 R"(user_pref("startup.homepage_welcome_url.additional", "");)",
                 R"(user_pref("browser.aboutwelcome.enabled", false);)",
                 R"(user_pref("datareporting.policy.dataSubmissionEnabled", false);)",
                 R"(user_pref("toolkit.telemetry.reportingpolicy.firstRun", false);)",
                 R"(user_pref("browser.tabs.firefox-view", false);)",
                 R"(user_pref("browser.sessionstore.resume_from_crash", false);)",
                 R"(user_pref("app.update.enabled", false);)",
                 R"(user_pref("browser.translations.automaticallyPopup", false);)",
                 // A scroll bar floating over the page hides its right edge
                 // in every shot taken while it shows.
                 R"(user_pref("widget.gtk.overlay-scrollbars.enabled", false);)",
             }) {
            file.write(preference);
            file.write("\n");
        }
    }

    QTemporaryDir home_;
    QProcess process_;
};
