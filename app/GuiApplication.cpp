#include "app/GuiApplication.h"

#include "app/CommandLine.h"

#include <QByteArray>
#include <QMutex>
#include <QMutexLocker>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

// What Qt said while the GUI application was being made, kept back until it
// is clear whether the user is to read it or a single line instead.
struct HeldMessage {
    QtMsgType type;
    QByteArray file;
    int line;
    QByteArray function;
    QByteArray category;
    QString text;
};

QMutex heldMutex;
std::vector<HeldMessage> held;

[[noreturn]] void giveUp(const QString& reason)
{
    std::fprintf(stderr, "dropwell: %s\n", qPrintable(reason));
    std::fflush(stderr);
    // Qt is half way through its start and aborts after this handler: nothing
    // of ours needs tidying yet (the lock and the bus name are not taken).
    std::_Exit(ExitStatus::notPossible);
}

void holdBack(QtMsgType type, const QMessageLogContext& context, const QString& text)
{
    QMutexLocker locker(&heldMutex);
    if (type == QtFatalMsg) {
        // The platform plugin's own words (such as "could not connect to
        // display :1") come before Qt's general verdict.
        const auto plugin = std::find_if(held.cbegin(), held.cend(),
            [](const HeldMessage& message) { return message.category.startsWith("qt.qpa."); });
        const QString reason = plugin != held.cend() ? plugin->text : text.section(QLatin1Char('\n'), 0, 0);
        giveUp(QStringLiteral("cannot show Dropwell on this display: %1").arg(reason));
    }
    held.push_back({type, context.file, context.line, context.function, context.category, text});
}

// To whichever handler is installed now.
void passOnHeld()
{
    QMutexLocker locker(&heldMutex);
    for (const HeldMessage& message : held)
        qt_message_output(message.type,
            QMessageLogContext(message.file.constData(), message.line, message.function.constData(),
                message.category.constData()),
            message.text);
    held.clear();
}

// The platforms that draw on a desktop (X11, Wayland) rather than into memory.
bool platformNeedsDisplay()
{
    const QByteArray platform = qgetenv("QT_QPA_PLATFORM");
    return platform.isEmpty() || platform.startsWith("xcb") || platform.startsWith("wayland");
}

} // namespace

std::unique_ptr<QApplication> makeGuiApplication(int& argc, char** argv)
{
    if (platformNeedsDisplay() && qEnvironmentVariableIsEmpty("DISPLAY")
        && qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY"))
        giveUp(QStringLiteral("no display to show Dropwell on (neither DISPLAY nor WAYLAND_DISPLAY is set)."));
    const QtMessageHandler previous = qInstallMessageHandler(holdBack);
    auto app = std::make_unique<QApplication>(argc, argv);
    qInstallMessageHandler(previous);
    passOnHeld();
    return app;
}
