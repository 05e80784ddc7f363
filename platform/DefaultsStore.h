#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The program's own small store of flags and lists that are not user settings
// (one-shot flags, recent folders). Writes are kept at once.
class DefaultsStore {
public:
    virtual ~DefaultsStore() = default;
    virtual bool boolValue(const QString& key) const = 0;
    virtual void setBool(const QString& key, bool value) = 0;
    virtual int intValue(const QString& key) const = 0;
    virtual void setInt(const QString& key, int value) = 0;
    virtual std::optional<QString> string(const QString& key) const = 0;
    virtual void setString(const QString& key, const QString& value) = 0;
    virtual QStringList stringList(const QString& key) const = 0;
    virtual void setStringList(const QString& key, const QStringList& value) = 0;
};
