#include "platform/linux/KdeShortcuts.h"

#include <QCoreApplication>
#include <QKeySequence>

#include <glib.h>

#include <cerrno>

namespace {

// The desktop entry's action that runs the command.
QString actionOf(ShortcutCommand command)
{
    switch (command) {
    case ShortcutCommand::CaptureRegion:
        return QStringLiteral("CaptureRegion");
    case ShortcutCommand::CaptureWindow:
        return QStringLiteral("CaptureWindow");
    case ShortcutCommand::CaptureVisible:
        return QStringLiteral("CaptureVisible");
    case ShortcutCommand::CapturePage:
        return QStringLiteral("CapturePage");
    case ShortcutCommand::RecordDisplay:
        return QStringLiteral("RecordDisplay");
    }
    return {};
}

QStringList actionIdOf(ShortcutCommand command)
{
    return {QString::fromLatin1(KdeShortcuts::desktopEntry), actionOf(command), QStringLiteral("Dropwell"), shortcutLabel(command)};
}

QStringList entryActions(const QString& path)
{
    GKeyFile* file = g_key_file_new();
    QStringList actions;
    if (g_key_file_load_from_file(file, path.toUtf8().constData(), G_KEY_FILE_NONE, nullptr)) {
        gchar** names = g_key_file_get_string_list(file, "Desktop Entry", "Actions", nullptr, nullptr);
        for (gchar** name = names; name && *name; ++name)
            actions.append(QString::fromUtf8(*name));
        g_strfreev(names);
    }
    g_key_file_free(file);
    return actions;
}

using Sequence = KGlobalAccelBus::Sequence;

// How a displaced shortcut is remembered: its four names, then its key.
constexpr qsizetype keyField = 4;

} // namespace

KdeShortcuts::KdeShortcuts(QDBusConnection bus, QString entryPath, DefaultsStore& defaults)
    : bus_(std::move(bus))
    , entryPath_(std::move(entryPath))
    , displaced_(defaults)
{
}

QString KdeShortcuts::whereKept() const
{
    return QCoreApplication::translate("KdeShortcuts", "Saved in KDE's shortcuts settings, under Dropwell.");
}

StatusOr<std::optional<QKeyCombination>> KdeShortcuts::key(ShortcutCommand command) const
{
    const StatusOr<QList<Sequence>> keys = bus_.keys(actionIdOf(command));
    if (!keys.ok())
        return keys.status();
    if (keys.value().isEmpty())
        return std::optional<QKeyCombination>();
    const Sequence& first = keys.value().constFirst();
    if (first.size() != 1) {
        QStringList names;
        for (const QKeyCombination key : first)
            names.append(QKeySequence(key).toString(QKeySequence::NativeText));
        return Status::failure(EINVAL, QCoreApplication::translate("KdeShortcuts", "KDE runs this on %1, a key Dropwell cannot show.")
                                           .arg(names.join(QStringLiteral(", "))));
    }
    return std::optional<QKeyCombination>(first.constFirst());
}

Status KdeShortcuts::entryOffers(ShortcutCommand command) const
{
    if (entryPath_.isEmpty())
        return Status::failure(ENOENT,
            QCoreApplication::translate("KdeShortcuts", "KDE runs its keys through Dropwell's desktop entry, and %1 is not installed.")
                .arg(QString::fromLatin1(desktopEntry)));
    if (!entryActions(entryPath_).contains(actionOf(command)))
        return Status::failure(ENOENT,
            QCoreApplication::translate("KdeShortcuts", "Dropwell's desktop entry %1 is from an older Dropwell: it cannot run this.")
                .arg(entryPath_));
    return Status::success();
}

Status KdeShortcuts::set(ShortcutCommand command, QKeyCombination key)
{
    if (const Status offered = entryOffers(command); !offered.ok())
        return offered;
    const QStringList id = actionIdOf(command);
    if (const Status enrolled = bus_.enroll(id); !enrolled.ok())
        return enrolled;
    // kglobalaccel listens only for a key no other shortcut has: Dropwell's
    // old key is let go and given back before the new one is taken.
    if (const Status released = clear(command); !released.ok())
        return released;
    if (const Status taken = displace(command, key); !taken.ok())
        return taken;
    return bus_.setKeys(id, {Sequence {key}});
}

Status KdeShortcuts::clear(ShortcutCommand command)
{
    const QStringList id = actionIdOf(command);
    const StatusOr<QList<Sequence>> keys = bus_.keys(id);
    if (!keys.ok())
        return keys.status();
    if (!keys.value().isEmpty()) {
        if (const Status cleared = bus_.setKeys(id, {}); !cleared.ok())
            return cleared;
    }
    giveBack(command);
    return Status::success();
}

Status KdeShortcuts::displace(ShortcutCommand command, QKeyCombination key)
{
    const Sequence sequence {key};
    const StatusOr<QList<QStringList>> holders = bus_.holders(sequence);
    if (!holders.ok())
        return holders.status();
    for (const QStringList& holder : holders.value()) {
        if (holder.at(0) == QLatin1String(desktopEntry) && holder.at(1) == actionOf(command))
            continue;
        StatusOr<QList<Sequence>> keys = bus_.keys(holder);
        if (!keys.ok())
            return keys.status();
        QList<Sequence> left = keys.value();
        left.removeAll(sequence);
        if (const Status taken = bus_.setKeys(holder, left); !taken.ok())
            return taken;
        displaced_.remember(command, holder + QStringList {QString::number(key.toCombined())});
    }
    return Status::success();
}

void KdeShortcuts::giveBack(ShortcutCommand command)
{
    for (const QStringList& binding : displaced_.take(command)) {
        if (binding.size() != keyField + 1)
            continue;
        const QStringList holder = binding.first(keyField);
        const Sequence key {QKeyCombination::fromCombined(binding.at(keyField).toInt())};
        // A key the user has given to something else since stays with it.
        const StatusOr<QList<QStringList>> holders = bus_.holders(key);
        const StatusOr<QList<Sequence>> keys = bus_.keys(holder);
        if (!holders.ok() || !keys.ok()) {
            displaced_.remember(command, binding);
            continue;
        }
        if (!holders.value().isEmpty() || keys.value().contains(key))
            continue;
        if (!bus_.setKeys(holder, keys.value() + QList<Sequence> {key}).ok())
            displaced_.remember(command, binding);
    }
}
