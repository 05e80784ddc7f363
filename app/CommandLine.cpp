#include "app/CommandLine.h"

#include <QCommandLineParser>
#include <QCoreApplication>

#include <cstdio>

namespace {

const QString exitStatuses = QStringLiteral(
    "\nExit status:\n"
    "  0  done, or handed to the Dropwell already running\n"
    "  1  not possible: no display to show Dropwell on, a Dropwell that runs but\n"
    "     cannot be reached, or no recording to stop\n"
    "  2  wrong arguments: an unknown option, a missing or unknown value,\n"
    "     or two commands at once\n");

CommandLine misuse(const QString& mistake)
{
    return {CommandLine::Answer::Misuse, {}, mistake + QStringLiteral(" See dropwell --help.")};
}

} // namespace

CommandLine CommandLine::read(const QStringList& arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral(
        "Keeps your desktop and Downloads folder empty.\n"
        "Without an option it starts Dropwell in the tray, or opens the popover of the one already running."));
    // Not addHelpOption(): its --help-all lists Qt's own options, which a
    // command line read before the GUI application exists does not take.
    const QCommandLineOption help({QStringLiteral("h"), QStringLiteral("help")}, QStringLiteral("Show this help."));
    parser.addOption(help);
    const QCommandLineOption version({QStringLiteral("v"), QStringLiteral("version")}, QStringLiteral("Show the version."));
    parser.addOption(version);
    Command::addOptions(parser);

    if (!parser.parse(arguments))
        return misuse(parser.errorText());
    if (parser.isSet(help))
        return {Answer::Help, {}, parser.helpText() + exitStatuses};
    if (parser.isSet(version))
        return {Answer::Version, {},
            QStringLiteral("%1 %2\n").arg(QCoreApplication::applicationName(), QCoreApplication::applicationVersion())};
    if (!parser.positionalArguments().isEmpty())
        return misuse(QStringLiteral("Unexpected argument '%1': Dropwell takes options only.")
                          .arg(parser.positionalArguments().constFirst()));
    const StatusOr<Command> command = Command::read(parser);
    if (!command.ok())
        return misuse(command.status().message());
    return {Answer::Run, command.value(), {}};
}

std::optional<int> CommandLine::printAnswer() const
{
    switch (answer) {
    case Answer::Help:
    case Answer::Version:
        std::fputs(qPrintable(text), stdout);
        return ExitStatus::done;
    case Answer::Misuse:
        tellUser(text);
        return ExitStatus::misuse;
    case Answer::Run:
        break;
    }
    return std::nullopt;
}

void tellUser(const QString& line) { std::fprintf(stderr, "dropwell: %s\n", qPrintable(line)); }
