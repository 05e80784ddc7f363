#include "platform/linux/XdgAutostart.h"

#include "platform/linux/IniText.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSaveFile>

#include <cerrno>

namespace {

const QByteArray group = "Desktop Entry";

std::optional<IniText> readEntry(const QString& path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return IniText::parse(file.readAll());
}

// Exec= takes its program quoted where it holds anything but plain
// characters, with the four reserved ones escaped.
QByteArray execValue(const QString& program)
{
    QString quoted = program;
    if (program.contains(QRegularExpression(QStringLiteral("[^A-Za-z0-9/._+-]")))) {
        quoted.replace(QLatin1Char('\\'), QStringLiteral("\\\\\\\\"));
        for (const char* reserved : {"\"", "`", "$"})
            quoted.replace(QLatin1String(reserved), QStringLiteral("\\\\") + QLatin1String(reserved));
        quoted = QLatin1Char('"') + quoted + QLatin1Char('"');
    }
    return quoted.replace(QLatin1Char('%'), QStringLiteral("%%")).toUtf8();
}

QByteArray freshEntry(const QString& program)
{
    return "[Desktop Entry]\n"
           "Type=Application\n"
           "Name=Dropwell\n"
           "Comment=Keeps the desktop and the Downloads folder empty\n"
           "Exec=" + execValue(program) + "\n"
           "Icon=org.dropwell.Dropwell\n"
           "Terminal=false\n"
           "X-GNOME-Autostart-enabled=true\n";
}

} // namespace

XdgAutostart::XdgAutostart(const QString& configHome, const QString& program)
    : path_(configHome + QStringLiteral("/autostart/org.dropwell.Dropwell.desktop"))
    , program_(program)
{
}

bool XdgAutostart::isEnabled() const
{
    const std::optional<IniText> entry = readEntry(path_);
    if (!entry)
        return false;
    return entry->value(group, "Hidden").value_or("false") != "true"
        && entry->value(group, "X-GNOME-Autostart-enabled").value_or("true") != "false";
}

Status XdgAutostart::setEnabled(bool enabled)
{
    if (!enabled) {
        if (QFile::exists(path_) && !QFile::remove(path_))
            return Status::failure(EACCES, QCoreApplication::translate("XdgAutostart", "Couldn't remove %1.").arg(path_));
        return Status::success();
    }
    std::optional<IniText> entry = readEntry(path_);
    QByteArray text;
    if (entry && entry->value(group, "Exec")) {
        entry->setValue(group, "Hidden", "false");
        entry->setValue(group, "X-GNOME-Autostart-enabled", "true");
        text = entry->text();
    } else {
        text = freshEntry(program_);
    }
    if (!QDir().mkpath(QFileInfo(path_).path()))
        return Status::failure(EACCES, QCoreApplication::translate("XdgAutostart", "Couldn't create %1.").arg(QFileInfo(path_).path()));
    QSaveFile file(path_);
    if (!file.open(QIODevice::WriteOnly) || file.write(text) != text.size() || !file.commit())
        return Status::failure(EIO, QCoreApplication::translate("XdgAutostart", "Couldn't write %1.").arg(path_));
    return Status::success();
}
