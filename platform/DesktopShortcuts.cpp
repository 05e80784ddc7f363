#include "platform/DesktopShortcuts.h"

#include <QCoreApplication>
#include <QRegularExpression>

namespace {

QString quoted(QString word)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9/._+-]+$"));
    if (plain.match(word).hasMatch())
        return word;
    return QLatin1Char('\'') + word.replace(QLatin1Char('\''), QStringLiteral("'\\''")) + QLatin1Char('\'');
}

} // namespace

QString shortcutId(ShortcutCommand command)
{
    switch (command) {
    case ShortcutCommand::CaptureRegion:
        return QStringLiteral("region");
    case ShortcutCommand::CaptureWindow:
        return QStringLiteral("window");
    case ShortcutCommand::CaptureVisible:
        return QStringLiteral("visible");
    case ShortcutCommand::CapturePage:
        return QStringLiteral("page");
    case ShortcutCommand::RecordDisplay:
        return QStringLiteral("record");
    }
    return {};
}

QString shortcutLabel(ShortcutCommand command)
{
    switch (command) {
    case ShortcutCommand::CaptureRegion:
        return QCoreApplication::translate("DesktopShortcuts", "Capture a region");
    case ShortcutCommand::CaptureWindow:
        return QCoreApplication::translate("DesktopShortcuts", "Capture a window");
    case ShortcutCommand::CaptureVisible:
        return QCoreApplication::translate("DesktopShortcuts", "Capture the screen");
    case ShortcutCommand::CapturePage:
        return QCoreApplication::translate("DesktopShortcuts", "Capture a whole page");
    case ShortcutCommand::RecordDisplay:
        return QCoreApplication::translate("DesktopShortcuts", "Record the screen");
    }
    return {};
}

QStringList shortcutArguments(ShortcutCommand command)
{
    if (command == ShortcutCommand::RecordDisplay)
        return {QStringLiteral("--record"), QStringLiteral("display")};
    return {QStringLiteral("--capture"), shortcutId(command)};
}

QString shortcutCommandLine(const QString& program, ShortcutCommand command)
{
    QStringList words {quoted(program)};
    for (const QString& argument : shortcutArguments(command))
        words.append(quoted(argument));
    return words.join(QLatin1Char(' '));
}
