#include "platform/linux/GnomeShortcuts.h"

#include "platform/linux/GtkAccelerator.h"
#include "platform/linux/ShortcutCommandLine.h"

#include <QCoreApplication>
#include <QKeySequence>

#include <gio/gio.h>

#include <cerrno>

namespace {

constexpr const char* mediaKeysSchema = "org.gnome.settings-daemon.plugins.media-keys";
constexpr const char* customSchema = "org.gnome.settings-daemon.plugins.media-keys.custom-keybinding";
constexpr const char* customListKey = "custom-keybindings";
const QString customFolder = QStringLiteral("/org/gnome/settings-daemon/plugins/media-keys/custom-keybindings/");
// Where GNOME keeps keys of its own, Print Screen's among them.
constexpr const char* keySchemas[] = {"org.gnome.shell.keybindings", "org.gnome.settings-daemon.plugins.media-keys",
    "org.gnome.desktop.wm.keybindings", "org.gnome.mutter.keybindings", "org.gnome.mutter.wayland.keybindings"};
// How a displaced binding is remembered: its first field says where it was.
const QString inCustom = QStringLiteral("custom");
const QString inList = QStringLiteral("list");

// Asking GSettings for a schema it does not know would abort the process.
GSettingsSchema* installedSchema(const char* id)
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    return source ? g_settings_schema_source_lookup(source, id, TRUE) : nullptr;
}

GSettings* settingsFor(const char* id, const QString& path = {})
{
    GSettingsSchema* schema = installedSchema(id);
    if (!schema)
        return nullptr;
    GSettings* settings = g_settings_new_full(schema, nullptr, path.isEmpty() ? nullptr : path.toUtf8().constData());
    g_settings_schema_unref(schema);
    return settings;
}

QString stringOf(GSettings* settings, const char* key)
{
    gchar* value = g_settings_get_string(settings, key);
    const QString text = QString::fromUtf8(value);
    g_free(value);
    return text;
}

QStringList listOf(GSettings* settings, const char* key)
{
    gchar** values = g_settings_get_strv(settings, key);
    QStringList list;
    for (gchar** value = values; *value; ++value)
        list.append(QString::fromUtf8(*value));
    g_strfreev(values);
    return list;
}

bool setList(GSettings* settings, const char* key, const QStringList& list)
{
    std::vector<QByteArray> utf8;
    for (const QString& value : list)
        utf8.push_back(value.toUtf8());
    std::vector<const gchar*> values;
    for (const QByteArray& value : utf8)
        values.push_back(value.constData());
    values.push_back(nullptr);
    return g_settings_set_strv(settings, key, values.data());
}

bool sameKey(const QString& accelerator, QKeyCombination key) { return keyFromAccelerator(accelerator) == key; }

Status notWritable(const QString& where)
{
    return Status::failure(EPERM, QCoreApplication::translate("GnomeShortcuts", "GNOME's keyboard settings do not let %1 be changed.").arg(where));
}

} // namespace

void GnomeShortcuts::Unref::operator()(_GSettings* settings) const { g_object_unref(settings); }

std::unique_ptr<GnomeShortcuts> GnomeShortcuts::open(const QString& program, DefaultsStore& defaults)
{
    GSettingsSchema* custom = installedSchema(customSchema);
    if (!custom)
        return nullptr;
    g_settings_schema_unref(custom);
    Settings mediaKeys(settingsFor(mediaKeysSchema));
    if (!mediaKeys)
        return nullptr;
    return std::unique_ptr<GnomeShortcuts>(new GnomeShortcuts(std::move(mediaKeys), program, defaults));
}

GnomeShortcuts::GnomeShortcuts(Settings mediaKeys, const QString& program, DefaultsStore& defaults)
    : mediaKeys_(std::move(mediaKeys))
    , program_(program)
    , displaced_(defaults)
{
}

GnomeShortcuts::~GnomeShortcuts() = default;

QString GnomeShortcuts::whereKept() const
{
    return QCoreApplication::translate("GnomeShortcuts", "Saved in GNOME's keyboard settings, with the custom shortcuts.");
}

QStringList GnomeShortcuts::customPaths() const { return listOf(mediaKeys_.get(), customListKey); }

QStringList GnomeShortcuts::pathsRunning(ShortcutCommand command) const
{
    QStringList running;
    for (const QString& path : customPaths()) {
        const Settings custom(settingsFor(customSchema, path));
        if (shortcutCommandRunBy(stringOf(custom.get(), "command")) == command)
            running.append(path);
    }
    return running;
}

StatusOr<std::optional<QKeyCombination>> GnomeShortcuts::key(ShortcutCommand command) const
{
    for (const QString& path : pathsRunning(command)) {
        const Settings custom(settingsFor(customSchema, path));
        const QString binding = stringOf(custom.get(), "binding");
        if (binding.isEmpty() || binding == QLatin1String("disabled"))
            continue;
        if (const std::optional<QKeyCombination> key = keyFromAccelerator(binding))
            return std::optional<QKeyCombination>(*key);
        return Status::failure(EINVAL, QCoreApplication::translate("GnomeShortcuts", "GNOME runs this on %1, a key Dropwell cannot show.").arg(binding));
    }
    return std::optional<QKeyCombination>();
}

Status GnomeShortcuts::set(ShortcutCommand command, QKeyCombination key)
{
    const QString accelerator = acceleratorFor(key);
    if (accelerator.isEmpty())
        return Status::failure(EINVAL, QCoreApplication::translate("GnomeShortcuts", "GNOME cannot bind %1.").arg(QKeySequence(key).toString(QKeySequence::NativeText)));
    // What the previous key took is given back before the new one takes anything.
    giveBack(command);
    QStringList paths = pathsRunning(command);
    for (qsizetype extra = 1; extra < paths.size(); ++extra)
        removeCustom(paths.at(extra));
    QString path = paths.isEmpty() ? QString() : paths.constFirst();
    const QStringList known = customPaths();
    for (int n = 0; path.isEmpty(); ++n) {
        const QString candidate = customFolder + QStringLiteral("dropwell-") + shortcutId(command)
            + (n ? QString::number(n) : QString()) + QLatin1Char('/');
        if (!known.contains(candidate))
            path = candidate;
    }
    displace(command, key);
    const Settings custom(settingsFor(customSchema, path));
    const bool written = g_settings_set_string(custom.get(), "name", QString(QStringLiteral("Dropwell: ") + shortcutLabel(command)).toUtf8().constData())
        && g_settings_set_string(custom.get(), "command", shortcutCommandLine(program_, command).toUtf8().constData())
        && g_settings_set_string(custom.get(), "binding", accelerator.toUtf8().constData())
        && (known.contains(path) || setList(mediaKeys_.get(), customListKey, known + QStringList {path}));
    g_settings_sync(); // written through before the desktop looks
    return written ? Status::success() : notWritable(path);
}

Status GnomeShortcuts::clear(ShortcutCommand command)
{
    for (const QString& path : pathsRunning(command))
        removeCustom(path);
    giveBack(command);
    g_settings_sync();
    return pathsRunning(command).isEmpty() ? Status::success() : notWritable(QString::fromLatin1(customListKey));
}

void GnomeShortcuts::removeCustom(const QString& path)
{
    QStringList paths = customPaths();
    paths.removeAll(path);
    setList(mediaKeys_.get(), customListKey, paths);
    const Settings custom(settingsFor(customSchema, path));
    for (const char* key : {"name", "command", "binding"})
        g_settings_reset(custom.get(), key);
}

void GnomeShortcuts::displace(ShortcutCommand command, QKeyCombination key)
{
    for (const QString& path : customPaths()) {
        const Settings custom(settingsFor(customSchema, path));
        const QString binding = stringOf(custom.get(), "binding");
        if (shortcutCommandRunBy(stringOf(custom.get(), "command")) != command && sameKey(binding, key)
            && g_settings_set_string(custom.get(), "binding", ""))
            displaced_.remember(command, {inCustom, path, binding});
    }
    for (const char* id : keySchemas) {
        GSettingsSchema* schema = installedSchema(id);
        if (!schema)
            continue;
        const Settings settings(g_settings_new_full(schema, nullptr, nullptr));
        gchar** names = g_settings_schema_list_keys(schema);
        for (gchar** name = names; *name; ++name) {
            GSettingsSchemaKey* schemaKey = g_settings_schema_get_key(schema, *name);
            const bool isList = g_variant_type_equal(g_settings_schema_key_get_value_type(schemaKey), G_VARIANT_TYPE_STRING_ARRAY);
            g_settings_schema_key_unref(schemaKey);
            if (!isList || qstrcmp(*name, customListKey) == 0)
                continue;
            QStringList accelerators = listOf(settings.get(), *name);
            const QStringList before = accelerators;
            accelerators.removeIf([key](const QString& accelerator) { return sameKey(accelerator, key); });
            if (accelerators.size() == before.size() || !setList(settings.get(), *name, accelerators))
                continue;
            for (const QString& accelerator : before) {
                if (sameKey(accelerator, key))
                    displaced_.remember(command, {inList, QString::fromLatin1(id), QString::fromUtf8(*name), accelerator});
            }
        }
        g_strfreev(names);
        g_settings_schema_unref(schema);
    }
}

void GnomeShortcuts::giveBack(ShortcutCommand command)
{
    const QStringList paths = customPaths();
    for (const QStringList& binding : displaced_.take(command)) {
        if (binding.size() == 3 && binding.at(0) == inCustom) {
            // A shortcut deleted since, or given another key, stays as it is.
            if (!paths.contains(binding.at(1)))
                continue;
            const Settings custom(settingsFor(customSchema, binding.at(1)));
            if (stringOf(custom.get(), "binding").isEmpty()
                && !g_settings_set_string(custom.get(), "binding", binding.at(2).toUtf8().constData()))
                displaced_.remember(command, binding);
        } else if (binding.size() == 4 && binding.at(0) == inList) {
            const Settings settings(settingsFor(binding.at(1).toUtf8().constData()));
            if (!settings)
                continue;
            const QByteArray name = binding.at(2).toUtf8();
            GSettingsSchema* schema = nullptr;
            g_object_get(settings.get(), "settings-schema", &schema, nullptr);
            const bool hasKey = schema && g_settings_schema_has_key(schema, name.constData());
            if (schema)
                g_settings_schema_unref(schema);
            if (!hasKey)
                continue;
            const QStringList accelerators = listOf(settings.get(), name.constData());
            if (!accelerators.contains(binding.at(3))
                && !setList(settings.get(), name.constData(), accelerators + QStringList {binding.at(3)}))
                displaced_.remember(command, binding);
        }
    }
}
