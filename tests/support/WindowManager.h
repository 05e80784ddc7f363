#pragma once

// openbox managing the test's X server, with a home of its own so that it
// reads no user's settings; it stops with the object.

#include <QProcess>
#include <QTemporaryDir>

class WindowManager {
public:
    WindowManager() = default;
    ~WindowManager()
    {
        process_.terminate();
        process_.waitForFinished();
    }
    WindowManager(const WindowManager&) = delete;
    WindowManager& operator=(const WindowManager&) = delete;

    // False where openbox is not installed (scripts/install-deps test).
    [[nodiscard]] bool start()
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char* variable : {"HOME", "XDG_CONFIG_HOME", "XDG_CACHE_HOME", "XDG_DATA_HOME"})
            environment.insert(QString::fromLatin1(variable), home_.path());
        process_.setProcessEnvironment(environment);
        process_.start(QStringLiteral("openbox"), {QStringLiteral("--sm-disable")});
        return process_.waitForStarted();
    }

private:
    QTemporaryDir home_;
    QProcess process_;
};
