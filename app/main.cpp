#include "app/DropwellApp.h"
#include "app/SingleInstance.h"
#include "capture/CaptureKind.h"
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
    const QCommandLineOption captureOption(QStringLiteral("capture"),
        QStringLiteral("Take a screenshot: visible, region or window (starts Dropwell first when needed)."), QStringLiteral("kind"));
    parser.addOption(captureOption);
    parser.process(app);
    const QString capture = parser.value(captureOption);
    if (!capture.isEmpty() && !captureKindNamed(capture)) {
        std::fprintf(stderr, "dropwell: --capture takes visible, region or window, not '%s'.\n", qPrintable(capture));
        return 2;
    }

    SingleInstance instance(Persistence::forCurrentUser().support() + QStringLiteral("/dropwell.lock"));
    switch (instance.claim(capture)) {
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
    QObject::connect(&instance, &SingleInstance::captureRequested, &dropwell, [&dropwell](const QString& kind) {
        if (const auto named = captureKindNamed(kind))
            dropwell.capture(*named);
    });
    if (const auto named = captureKindNamed(capture))
        QTimer::singleShot(0, &dropwell, [&dropwell, named] { dropwell.capture(*named); });
    return QApplication::exec();
}
