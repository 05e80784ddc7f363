#pragma once

#include "app/Command.h"

#include <QString>
#include <QStringList>

#include <optional>

// The exit statuses `dropwell --help` lists.
namespace ExitStatus {
constexpr int done = 0;
// No display to show Dropwell on, another Dropwell that cannot be reached,
// or no recording to stop.
constexpr int notPossible = 1;
// An unknown option, a missing or unknown value, two commands at once.
constexpr int misuse = 2;
} // namespace ExitStatus

// The words after `dropwell`, read before anything needs a display, so that
// help, the version and mistakes are answered from any terminal.
struct CommandLine {
    enum class Answer { Run, Help, Version, Misuse };
    Answer answer = Answer::Run;
    // What to do, when the answer is Run.
    Command command;
    // The help, the version line, or the mistake in one line.
    QString text;

    // `arguments` as QCoreApplication::arguments() gives them, the program first.
    static CommandLine read(const QStringList& arguments);
    // Prints the help, the version or the mistake and gives the exit status;
    // nothing when there is a command to run.
    std::optional<int> printAnswer() const;
};

// One line on standard error, "dropwell: " first.
void tellUser(const QString& line);
