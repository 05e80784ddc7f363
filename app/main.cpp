#include "app/Command.h"
#include "app/CommandLine.h"
#include "app/DropwellApp.h"
#include "app/GuiApplication.h"
#include "app/Handover.h"
#include "app/SingleInstance.h"
#include "core/Persistence.h"

#include <QCoreApplication>
#include <QTimer>

#include <cstdio>
#include <cstdlib>
#include <optional>

namespace {

void say(const QString& line) { std::fprintf(stderr, "dropwell: %s\n", qPrintable(line)); }

// Everything that needs no display: reads the arguments, answers help and
// mistakes, and hands the command to a Dropwell that already runs (a stop goes
// nowhere else). Gives the exit status when this process is done, or nothing
// when it is to become the one Dropwell and carry out `command` itself.
std::optional<int> answerWithoutDisplay(int& argc, char** argv, Command& command)
{
    // Gone before the GUI application is made: Qt allows one at a time.
    const QCoreApplication core(argc, argv);
    const CommandLine line = CommandLine::read(QCoreApplication::arguments());
    switch (line.answer) {
    case CommandLine::Answer::Help:
    case CommandLine::Answer::Version:
        std::fputs(qPrintable(line.text), stdout);
        return ExitStatus::done;
    case CommandLine::Answer::Misuse:
        say(line.text);
        return ExitStatus::misuse;
    case CommandLine::Answer::Run:
        break;
    }
    command = line.command;

    Handover handover(command);
    switch (handover.result()) {
    case Handover::Result::Taken:
        return ExitStatus::done;
    case Handover::Result::Unanswered:
        say(QStringLiteral("Dropwell is already running for this user but did not answer: %1").arg(handover.reason()));
        return ExitStatus::notPossible;
    case Handover::Result::NoBus:
        // Without a bus a running Dropwell cannot be asked to stop; the lock
        // file still keeps a second one from starting.
        if (command.action == Command::Action::StopRecording) {
            say(QStringLiteral("no session bus to reach Dropwell, so there is no recording to stop (%1).")
                    .arg(handover.reason()));
            return ExitStatus::notPossible;
        }
        break;
    case Handover::Result::NoneRunning:
        if (command.action == Command::Action::StopRecording) {
            say(QStringLiteral("Dropwell is not running, so there is no recording to stop."));
            return ExitStatus::notPossible;
        }
        break;
    }
    handover.close();
    return std::nullopt;
}

} // namespace

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Dropwell"));
    QCoreApplication::setOrganizationName(QStringLiteral("Dropwell"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DROPWELL_VERSION));

    Command command;
    if (const std::optional<int> status = answerWithoutDisplay(argc, argv, command)) {
        // Qt's D-Bus thread may still be reading what the bus sent the
        // handover's connection; exit handlers would tear Qt's type registry
        // down under it, with warnings. A process that only answered has
        // nothing to tidy up.
        std::fflush(stdout);
        std::fflush(stderr);
        std::_Exit(*status);
    }

    const std::unique_ptr<QApplication> app = makeGuiApplication(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("dropwell"));
    // Dropwell lives in the tray: closing its window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    // The name and the lock decide who is the one Dropwell: another may have
    // started since the handover found none.
    SingleInstance instance(Persistence::forCurrentUser().support() + QStringLiteral("/dropwell.lock"));
    switch (instance.claim(command)) {
    case SingleInstance::Claim::Forwarded:
        return ExitStatus::done;
    case SingleInstance::Claim::Refused:
        say(QStringLiteral("Dropwell is already running for this user."));
        return ExitStatus::notPossible;
    case SingleInstance::Claim::First:
        break;
    }

    DropwellApp dropwell;
    QObject::connect(&instance, &SingleInstance::commandReceived, &dropwell, &DropwellApp::perform);
    if (command.action != Command::Action::ShowPopover)
        QTimer::singleShot(0, &dropwell, [&dropwell, &command] { dropwell.perform(command); });
    return QApplication::exec();
}
