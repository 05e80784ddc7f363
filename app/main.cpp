#include "app/DropwellApp.h"
#include "app/SingleInstance.h"
#include "core/Persistence.h"

#include <QApplication>

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

    SingleInstance instance(Persistence::forCurrentUser().support() + QStringLiteral("/dropwell.lock"));
    switch (instance.claim()) {
    case SingleInstance::Claim::Forwarded:
        return 0;
    case SingleInstance::Claim::Refused:
        std::fputs("dropwell: Dropwell is already running for this user.\n", stderr);
        return 1;
    case SingleInstance::Claim::First:
        break;
    }

    DropwellApp dropwell;
    QObject::connect(&instance, &SingleInstance::showRequested, &dropwell, &DropwellApp::showPopover);
    return QApplication::exec();
}
