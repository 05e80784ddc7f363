#include "platform/linux/XfceShortcuts.h"

#include "platform/linux/GtkAccelerator.h"
#include "platform/linux/ShortcutCommandLine.h"

#include <QCoreApplication>
#include <QKeySequence>

#include <cerrno>

namespace {

const QString commandsBase = QStringLiteral("/commands/custom");

QString propertyOf(const QString& accelerator) { return commandsBase + QLatin1Char('/') + accelerator; }

} // namespace

XfceShortcuts::XfceShortcuts(std::unique_ptr<XfconfChannel> store, QString program, DefaultsStore& defaults)
    : store_(std::move(store))
    , program_(std::move(program))
    , displaced_(defaults)
{
}

QString XfceShortcuts::whereKept() const
{
    return QCoreApplication::translate("XfceShortcuts", "Saved in Xfce's keyboard settings, with the application shortcuts.");
}

StatusOr<std::optional<QKeyCombination>> XfceShortcuts::key(ShortcutCommand command) const
{
    const StatusOr<QMap<QString, QString>> commands = store_->strings(commandsBase);
    if (!commands.ok())
        return commands.status();
    for (auto entry = commands.value().cbegin(); entry != commands.value().cend(); ++entry) {
        if (shortcutCommandRunBy(entry.value()) != command)
            continue;
        if (const std::optional<QKeyCombination> key = keyFromAccelerator(entry.key()))
            return std::optional<QKeyCombination>(*key);
        return Status::failure(EINVAL,
            QCoreApplication::translate("XfceShortcuts", "Xfce runs this on %1, a key Dropwell cannot show.").arg(entry.key()));
    }
    return std::optional<QKeyCombination>();
}

Status XfceShortcuts::set(ShortcutCommand command, QKeyCombination key)
{
    const QString accelerator = acceleratorFor(key);
    if (accelerator.isEmpty())
        return Status::failure(EINVAL,
            QCoreApplication::translate("XfceShortcuts", "Xfce cannot bind %1.").arg(QKeySequence(key).toString(QKeySequence::NativeText)));
    // What the previous key took is given back before the new one takes anything.
    if (const Status released = release(command); !released.ok())
        return released;
    const StatusOr<QMap<QString, QString>> commands = store_->strings(commandsBase);
    if (!commands.ok())
        return commands.status();
    // The key as Xfce already spells it, where it runs something else.
    QString property = propertyOf(accelerator);
    for (auto entry = commands.value().cbegin(); entry != commands.value().cend(); ++entry) {
        if (keyFromAccelerator(entry.key()) == key) {
            property = propertyOf(entry.key());
            displaced_.remember(command, {entry.key(), entry.value()});
            break;
        }
    }
    return store_->setString(property, shortcutCommandLine(program_, command));
}

Status XfceShortcuts::clear(ShortcutCommand command) { return release(command); }

Status XfceShortcuts::release(ShortcutCommand command)
{
    const StatusOr<QMap<QString, QString>> commands = store_->strings(commandsBase);
    if (!commands.ok())
        return commands.status();
    QMap<QString, QString> left = commands.value();
    // A key that ran something else runs it again, in its own place.
    for (const QStringList& binding : displaced_.take(command)) {
        if (binding.size() != 2)
            continue;
        const auto now = left.constFind(binding.at(0));
        // A key the user has given something else since stays as it is.
        if (now != left.cend() && shortcutCommandRunBy(now.value()) != command)
            continue;
        if (!store_->setString(propertyOf(binding.at(0)), binding.at(1)).ok()) {
            displaced_.remember(command, binding);
            continue;
        }
        left.remove(binding.at(0));
    }
    for (auto entry = left.cbegin(); entry != left.cend(); ++entry) {
        if (shortcutCommandRunBy(entry.value()) != command)
            continue;
        if (const Status reset = store_->reset(propertyOf(entry.key())); !reset.ok())
            return reset;
    }
    return Status::success();
}
