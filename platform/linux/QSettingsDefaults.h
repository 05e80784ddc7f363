#pragma once

#include "platform/DefaultsStore.h"

#include <QSettings>

// The defaults store in a QSettings file, by default
// ~/.config/Dropwell/Dropwell.conf.
class QSettingsDefaults final : public DefaultsStore {
public:
    QSettingsDefaults(); // the current user's file
    explicit QSettingsDefaults(const QString& filePath);

    bool boolValue(const QString& key) const override;
    void setBool(const QString& key, bool value) override;
    int intValue(const QString& key) const override;
    void setInt(const QString& key, int value) override;
    std::optional<QString> string(const QString& key) const override;
    void setString(const QString& key, const QString& value) override;
    QStringList stringList(const QString& key) const override;
    void setStringList(const QString& key, const QStringList& value) override;

private:
    void write(const QString& key, const QVariant& value);

    QSettings settings_;
};
