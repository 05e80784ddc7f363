#include "platform/linux/ProcessRelauncher.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTimer>

namespace {

// Long enough for this process to have ended and let go of its name on the
// session bus, short enough to feel immediate.
constexpr const char* waitThenStart = "sleep 0.4; exec \"$0\"";
constexpr int quitAfterMs = 200;

} // namespace

ProcessRelauncher::ProcessRelauncher(QString executable) : executable_(std::move(executable)) {}

void ProcessRelauncher::relaunch()
{
    // The path is the shell's $0, an argument of its own: never part of the
    // command text, whatever characters it holds.
    QProcess::startDetached(QStringLiteral("/bin/sh"), {QStringLiteral("-c"), QString::fromLatin1(waitThenStart), executable_});
    QTimer::singleShot(quitAfterMs, qApp, &QCoreApplication::quit);
}
