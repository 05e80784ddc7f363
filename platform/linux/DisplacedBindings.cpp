#include "platform/linux/DisplacedBindings.h"

#include "platform/DefaultsStore.h"

namespace {

// Neither a key's name nor a command line holds it.
const QChar separator(0x1f);

// By command ("displacedBindings.region"); named here, not in core's list of
// keys, because the platform layer sits below core.
QString storeKey(ShortcutCommand command) { return QStringLiteral("displacedBindings.") + shortcutId(command); }

} // namespace

void DisplacedBindings::remember(ShortcutCommand command, const QStringList& binding)
{
    const QString key = storeKey(command);
    QStringList kept = defaults_.stringList(key);
    kept.append(binding.join(separator));
    defaults_.setStringList(key, kept);
}

std::vector<QStringList> DisplacedBindings::take(ShortcutCommand command)
{
    const QString key = storeKey(command);
    std::vector<QStringList> bindings;
    for (const QString& kept : defaults_.stringList(key))
        bindings.push_back(kept.split(separator));
    defaults_.setStringList(key, {});
    return bindings;
}
