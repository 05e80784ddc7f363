#include "platform/linux/GSettingsScreenshotTool.h"

#include <QDir>
#include <QUrl>

#include <gio/gio.h>
#include <libintl.h>

#include <cerrno>

namespace {

constexpr const char* schemaId = "org.gnome.gnome-screenshot";
constexpr const char* keyName = "auto-save-directory";

GSettings* settingsIfInstalled()
{
    GSettingsSchemaSource* source = g_settings_schema_source_get_default();
    if (!source)
        return nullptr;
    // Asking GSettings for a schema it does not know would abort the process.
    GSettingsSchema* schema = g_settings_schema_source_lookup(source, schemaId, TRUE);
    if (!schema)
        return nullptr;
    GSettings* settings = g_settings_schema_has_key(schema, keyName) ? g_settings_new_full(schema, nullptr, nullptr) : nullptr;
    g_settings_schema_unref(schema);
    return settings;
}

} // namespace

void GSettingsScreenshotTool::Unref::operator()(_GSettings* settings) const { g_object_unref(settings); }

GSettingsScreenshotTool::GSettingsScreenshotTool(QString defaultFolder)
    : defaultFolder_(std::move(defaultFolder))
    , settings_(settingsIfInstalled())
{
}

GSettingsScreenshotTool::~GSettingsScreenshotTool() = default;

StatusOr<std::optional<QString>> GSettingsScreenshotTool::stored() const
{
    if (!settings_)
        return Status::failure(ENOENT, QStringLiteral("the GSettings schema org.gnome.gnome-screenshot is not installed"));
    gchar* value = g_settings_get_string(settings_.get(), keyName);
    const QString text = QString::fromUtf8(value);
    g_free(value);
    // An empty value is the application's own default.
    return text.isEmpty() ? std::optional<QString>() : std::optional<QString>(text);
}

Status GSettingsScreenshotTool::store(const QString& raw)
{
    if (!settings_)
        return Status::failure(ENOENT, QStringLiteral("the GSettings schema org.gnome.gnome-screenshot is not installed"));
    if (!g_settings_set_string(settings_.get(), keyName, raw.toUtf8().constData()))
        return Status::failure(EPERM, QStringLiteral("org.gnome.gnome-screenshot auto-save-directory is not writable"));
    g_settings_sync(); // written through to dconf before anyone looks
    return Status::success();
}

QString GSettingsScreenshotTool::rawFor(const QString& folder) const
{
    return QString::fromUtf8(QUrl::fromLocalFile(QDir::cleanPath(folder)).toEncoded());
}

ScreenshotNaming GSettingsScreenshotTool::naming() const
{
    // The application fills its translated "Screenshot from %s" with the
    // moment, and adds " - 2" and on where the name is taken.
    const QString sentence = QString::fromUtf8(::dgettext("gnome-screenshot", "Screenshot from %s"));
    const qsizetype moment = sentence.indexOf(QStringLiteral("%s"));
    if (moment < 0)
        return {};
    const auto asIs = [](QString text) { return text.replace(QLatin1Char('%'), QStringLiteral("%%")); };
    return ScreenshotNaming::strftime(asIs(sentence.left(moment)) + QStringLiteral("%Y-%m-%d %H-%M-%S")
            + asIs(sentence.mid(moment + 2)),
        QStringLiteral(" - "));
}
