// `dropwell` as a key binding or a terminal runs it: answers the command line
// and hands the command to the Dropwell that already runs, with nothing
// loaded but Qt's core and its D-Bus. Only when none runs does this process
// become Dropwell, by executing the program with the windows in its place.
#include "app/Command.h"
#include "app/CommandLine.h"
#include "app/Handover.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>

#include <unistd.h>

namespace {

// Gives the exit status when this process is done, or nothing when it is to
// become the one Dropwell.
std::optional<int> answer(int& argc, char** argv)
{
    const QCoreApplication core(argc, argv);
    const CommandLine line = CommandLine::read(QCoreApplication::arguments());
    if (const std::optional<int> status = line.printAnswer())
        return status;
    const Command& command = line.command;
    Handover handover(command);
    switch (handover.result()) {
    case Handover::Result::Taken:
        return ExitStatus::done;
    case Handover::Result::Unanswered:
        tellUser(QStringLiteral("Dropwell is already running for this user but did not answer: %1").arg(handover.reason()));
        return ExitStatus::notPossible;
    case Handover::Result::NoBus:
        // Without a bus a running Dropwell cannot be asked to stop; the lock
        // file still keeps a second one from starting.
        if (command.action == Command::Action::StopRecording) {
            tellUser(QStringLiteral("no session bus to reach Dropwell, so there is no recording to stop (%1).")
                    .arg(handover.reason()));
            return ExitStatus::notPossible;
        }
        break;
    case Handover::Result::NoneRunning:
        if (command.action == Command::Action::StopRecording) {
            tellUser(QStringLiteral("Dropwell is not running, so there is no recording to stop."));
            return ExitStatus::notPossible;
        }
        break;
    }
    return std::nullopt;
}

// Installed beside this one as <prefix>/libexec/dropwell/dropwell, and laid
// out the same way in the build folder.
QByteArray windowedProgram()
{
    const QString self = QFileInfo(QStringLiteral("/proc/self/exe")).canonicalFilePath();
    return QFile::encodeName(QFileInfo(self).path() + QStringLiteral("/../" DROPWELL_WINDOWED_PROGRAM));
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Dropwell"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DROPWELL_VERSION));
    if (const std::optional<int> status = answer(argc, argv)) {
        // Qt's D-Bus thread may still be reading what the bus sent; exit
        // handlers would tear Qt's type registry down under it, with
        // warnings. A process that only answered has nothing to tidy up.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(*status);
    }
    const QByteArray program = windowedProgram();
    ::execv(program.constData(), argv);
    tellUser(QStringLiteral("cannot start %1: %2").arg(QFile::decodeName(program), QString::fromLocal8Bit(std::strerror(errno))));
    return ExitStatus::notPossible;
}
