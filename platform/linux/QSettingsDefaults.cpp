#include "platform/linux/QSettingsDefaults.h"

QSettingsDefaults::QSettingsDefaults()
    : settings_(QSettings::NativeFormat, QSettings::UserScope, QStringLiteral("Dropwell"), QStringLiteral("Dropwell"))
{
}

QSettingsDefaults::QSettingsDefaults(const QString& filePath) : settings_(filePath, QSettings::IniFormat) {}

bool QSettingsDefaults::boolValue(const QString& key) const { return settings_.value(key, false).toBool(); }

void QSettingsDefaults::setBool(const QString& key, bool value) { write(key, value); }

int QSettingsDefaults::intValue(const QString& key) const { return settings_.value(key, 0).toInt(); }

void QSettingsDefaults::setInt(const QString& key, int value) { write(key, value); }

std::optional<QString> QSettingsDefaults::string(const QString& key) const
{
    const QVariant value = settings_.value(key);
    return value.isValid() ? std::optional(value.toString()) : std::nullopt;
}

void QSettingsDefaults::setString(const QString& key, const QString& value) { write(key, value); }

QStringList QSettingsDefaults::stringList(const QString& key) const
{
    return settings_.value(key).toStringList();
}

void QSettingsDefaults::setStringList(const QString& key, const QStringList& value) { write(key, value); }

void QSettingsDefaults::write(const QString& key, const QVariant& value)
{
    // Every write goes to the disk and waits for it, and some are made with
    // the same value on every capture. The file holds text: compared as the
    // type written.
    if (QVariant stored = settings_.value(key); stored.isValid() && stored.convert(value.metaType()) && stored == value)
        return;
    settings_.setValue(key, value);
    settings_.sync();
}
