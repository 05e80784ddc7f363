#include "app/Command.h"

#include "core/CaptureKind.h"

#include <QCommandLineParser>

#include <cerrno>

namespace {

const QString captureName = QStringLiteral("capture");
const QString recordName = QStringLiteral("record");
const QString stopName = QStringLiteral("stop-recording");

bool isRecordTarget(const QString& target)
{
    return target == QStringLiteral("display") || target == QStringLiteral("window");
}

} // namespace

QString Command::methodName() const
{
    switch (action) {
    case Action::ShowPopover:
        return QStringLiteral("ShowPopover");
    case Action::Capture:
        return QStringLiteral("Capture");
    case Action::Record:
        return QStringLiteral("Record");
    case Action::StopRecording:
        return QStringLiteral("StopRecording");
    }
    return QStringLiteral("ShowPopover");
}

void Command::addOptions(QCommandLineParser& parser)
{
    parser.addOption({captureName,
        QStringLiteral("Take a screenshot: visible, region, window or page (a whole scrolling page; starts Dropwell first when needed)."),
        QStringLiteral("kind")});
    parser.addOption({recordName, QStringLiteral("Record the screen: the display under the pointer, or a window you click."),
        QStringLiteral("display|window")});
    parser.addOption({stopName, QStringLiteral("Stop the recording under way.")});
}

StatusOr<Command> Command::read(const QCommandLineParser& parser)
{
    const int asked = int(parser.isSet(captureName)) + int(parser.isSet(recordName)) + int(parser.isSet(stopName));
    if (asked > 1)
        return Status::failure(EINVAL, QStringLiteral("--capture, --record and --stop-recording go one at a time."));
    if (parser.isSet(captureName)) {
        const QString kind = parser.value(captureName);
        if (!captureKindNamed(kind))
            return Status::failure(EINVAL, QStringLiteral("--capture takes visible, region, window or page, not '%1'.").arg(kind));
        return Command {Action::Capture, kind};
    }
    if (parser.isSet(recordName)) {
        const QString target = parser.value(recordName);
        if (!isRecordTarget(target))
            return Status::failure(EINVAL, QStringLiteral("--record takes display or window, not '%1'.").arg(target));
        return Command {Action::Record, target};
    }
    if (parser.isSet(stopName))
        return Command {Action::StopRecording, {}};
    return Command {};
}

Command Command::forShortcut(ShortcutCommand command)
{
    QCommandLineParser parser;
    addOptions(parser);
    parser.parse(QStringList {QStringLiteral("dropwell")} + shortcutArguments(command));
    return read(parser).value();
}
