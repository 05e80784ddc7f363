// The Dropwell that stays: the tray, the windows and the captures. The
// launcher executes it once it has found no Dropwell running.
#include "app/Command.h"
#include "app/CommandLine.h"
#include "app/DropwellApp.h"
#include "app/GuiApplication.h"
#include "app/SingleInstance.h"
#include "core/Persistence.h"
#include "translations/UserLanguage.h"

#include <QCoreApplication>
#include <QLocale>
#include <QTimer>

#include <malloc.h>
#include <optional>

int main(int argc, char* argv[])
{
    QCoreApplication::setApplicationName(QStringLiteral("Dropwell"));
    QCoreApplication::setOrganizationName(QStringLiteral("Dropwell"));
    QCoreApplication::setApplicationVersion(QStringLiteral(DROPWELL_VERSION));

    // The launcher has read these words and found them right; they are read
    // again for the command they carry.
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments.append(QString::fromLocal8Bit(argv[i]));
    const CommandLine line = CommandLine::read(arguments);
    if (const std::optional<int> status = line.printAnswer())
        return *status;
    const Command command = line.command;

    // Pictures and encoder buffers are megabytes each and come and go. Served
    // from mappings of their own they go back to the system when freed; the
    // allocator's sliding threshold would keep them in its pools instead.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    // Every thread that allocates would otherwise get a pool of its own, which
    // keeps what outlives the thread (a recording's or a thumbnail's leftovers)
    // scattered over pools nothing trims well. The threads keep their own
    // small caches, so sharing one pool costs them little.
    mallopt(M_ARENA_MAX, 1);

    const std::unique_ptr<QApplication> app = makeGuiApplication(argc, argv);
    QApplication::setDesktopFileName(QStringLiteral("org.dropwell.Dropwell"));
    // Dropwell lives in the tray: closing its window does not end it.
    QApplication::setQuitOnLastWindowClosed(false);
    installTranslations(QLocale());

    // The name and the lock decide who is the one Dropwell: another may have
    // started since the handover found none.
    SingleInstance instance(Persistence::forCurrentUser().support() + QStringLiteral("/dropwell.lock"));
    switch (instance.claim(command)) {
    case SingleInstance::Claim::Forwarded:
        return ExitStatus::done;
    case SingleInstance::Claim::Refused:
        tellUser(QStringLiteral("Dropwell is already running for this user."));
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
