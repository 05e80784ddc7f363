#include "app/Command.h"
#include "app/DropwellApp.h"
#include "app/SingleInstance.h"
#include "core/Persistence.h"

#include <QApplication>
#include <QCommandLineParser>
#include <QTimer>

#include <cstdio>

int main(int argc, char* argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Dropwell"));
    QApplication::setOrganizationName(QStringLiteral("Dropwell"));
    QApplication::setApplicationVersion(QStringLiteral(DROPWELL_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("dropwell"));
    // Dropwell lives in the tray: closing its window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Keeps your desktop and Downloads folder empty."));
    parser.addHelpOption();
    parser.addVersionOption();
    Command::addOptions(parser);
    parser.process(app);
    const StatusOr<Command> command = Command::read(parser);
    if (!command.ok()) {
        std::fprintf(stderr, "dropwell: %s\n", qPrintable(command.status().message()));
        return 2;
    }

    SingleInstance instance(Persistence::forCurrentUser().support() + QStringLiteral("/dropwell.lock"));
    switch (instance.claim(command.value())) {
    case SingleInstance::Claim::Forwarded:
        return 0;
    case SingleInstance::Claim::Refused:
        std::fputs("dropwell: Dropwell is already running for this user.\n", stderr);
        return 1;
    case SingleInstance::Claim::First:
        break;
    }
    if (command.value().action == Command::Action::StopRecording) {
        std::fputs("dropwell: Dropwell is not running, so there is no recording to stop.\n", stderr);
        return 1;
    }

    DropwellApp dropwell;
    QObject::connect(&instance, &SingleInstance::commandReceived, &dropwell, &DropwellApp::perform);
    if (command.value().action != Command::Action::ShowPopover)
        QTimer::singleShot(0, &dropwell, [&dropwell, &command] { dropwell.perform(command.value()); });
    return QApplication::exec();
}
