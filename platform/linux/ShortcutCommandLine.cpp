#include "platform/linux/ShortcutCommandLine.h"

#include <QFileInfo>

#include <glib.h>

std::optional<ShortcutCommand> shortcutCommandRunBy(const QString& line)
{
    gchar** argv = nullptr;
    if (!g_shell_parse_argv(line.toUtf8().constData(), nullptr, &argv, nullptr))
        return std::nullopt;
    QStringList words;
    for (gchar** word = argv; *word; ++word)
        words.append(QString::fromUtf8(*word));
    g_strfreev(argv);
    if (words.isEmpty() || QFileInfo(words.takeFirst()).fileName() != QLatin1String("dropwell"))
        return std::nullopt;
    for (const ShortcutCommand command : shortcutCommands) {
        if (shortcutArguments(command) == words)
            return command;
    }
    return std::nullopt;
}
