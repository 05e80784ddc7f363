#pragma once

#include "core/Iso8601.h"
#include "core/RawValues.h"

#include <QDateTime>
#include <QString>
#include <QUuid>

#include <nlohmann/json.hpp>

#include <optional>
#include <tuple>

// Records are stored as JSON objects described by one table of fields per
// record: each field names its key, its member and whether it must be present.
// Decoding is all or nothing; encoding leaves absent optional values out.
namespace JsonFields {

using Json = nlohmann::json;

// Encoding and strict decoding of each stored type. decode() leaves `out`
// alone and returns false when the JSON value has the wrong type or form.
inline Json encode(bool value) { return value; }
inline Json encode(qint64 value) { return value; }
inline Json encode(quint64 value) { return value; }
inline Json encode(const QString& value) { return value.toStdString(); }
inline Json encode(const QDateTime& value) { return Iso8601::format(value).toStdString(); }
inline Json encode(const QUuid& value) { return value.toString(QUuid::WithoutBraces).toUpper().toStdString(); }
template <HasRawValues E>
Json encode(E value) { return std::string(rawValue(value)); }

inline bool decode(const Json& json, bool& out)
{
    if (!json.is_boolean())
        return false;
    out = json.get<bool>();
    return true;
}

inline bool decode(const Json& json, qint64& out)
{
    if (json.is_number_integer() && !json.is_number_unsigned()) {
        out = json.get<qint64>();
        return true;
    }
    if (json.is_number_unsigned() && json.get<quint64>() <= quint64(std::numeric_limits<qint64>::max())) {
        out = qint64(json.get<quint64>());
        return true;
    }
    return false;
}

inline bool decode(const Json& json, quint64& out)
{
    if (json.is_number_unsigned()) {
        out = json.get<quint64>();
        return true;
    }
    if (json.is_number_integer() && json.get<qint64>() >= 0) {
        out = quint64(json.get<qint64>());
        return true;
    }
    return false;
}

inline bool decode(const Json& json, QString& out)
{
    if (!json.is_string())
        return false;
    out = QString::fromStdString(json.get_ref<const std::string&>());
    return true;
}

inline bool decode(const Json& json, QDateTime& out)
{
    if (!json.is_string())
        return false;
    const auto date = Iso8601::parse(json.get_ref<const std::string&>());
    if (!date)
        return false;
    out = *date;
    return true;
}

inline bool decode(const Json& json, QUuid& out)
{
    if (!json.is_string() || json.get_ref<const std::string&>().size() != 36)
        return false;
    const QUuid id = QUuid::fromString(QString::fromStdString(json.get_ref<const std::string&>()));
    if (id.isNull() && json.get_ref<const std::string&>() != "00000000-0000-0000-0000-000000000000")
        return false;
    out = id;
    return true;
}

template <HasRawValues E>
bool decode(const Json& json, E& out)
{
    if (!json.is_string())
        return false;
    const auto value = fromRawValue<E>(json.get_ref<const std::string&>());
    if (!value)
        return false;
    out = *value;
    return true;
}

template <typename Record, typename T>
struct Field {
    const char* key;
    T Record::*member;
    bool required = false;
};
// Deduced from the key and member alone, also by compilers without deduction
// for aggregates (clang before 17, which the fuzz build uses).
template <typename Record, typename T>
Field(const char*, T Record::*, bool = false) -> Field<Record, T>;

template <typename Record, typename T>
void encodeField(Json& object, const Record& record, const Field<Record, T>& field)
{
    object[field.key] = encode(record.*field.member);
}

template <typename Record, typename T>
void encodeField(Json& object, const Record& record, const Field<Record, std::optional<T>>& field)
{
    if (const auto& value = record.*field.member)
        object[field.key] = encode(*value);
}

// A missing or null key keeps the record's value (its default), unless the
// field is required.
template <typename Record, typename T>
bool decodeField(const Json& object, Record& record, const Field<Record, T>& field)
{
    const auto found = object.find(field.key);
    if (found == object.end() || found->is_null())
        return !field.required;
    return decode(*found, record.*field.member);
}

template <typename Record, typename T>
bool decodeField(const Json& object, Record& record, const Field<Record, std::optional<T>>& field)
{
    const auto found = object.find(field.key);
    if (found == object.end() || found->is_null()) {
        record.*field.member = std::nullopt;
        return true;
    }
    T value {};
    if (!decode(*found, value))
        return false;
    record.*field.member = std::move(value);
    return true;
}

template <typename Record, typename... Fields>
Json encodeRecord(const Record& record, const std::tuple<Fields...>& fields)
{
    Json object = Json::object();
    std::apply([&](const auto&... field) { (encodeField(object, record, field), ...); }, fields);
    return object;
}

// Starts from `record` as given (its defaults) and fills in every field.
template <typename Record, typename... Fields>
bool decodeRecord(const Json& object, Record& record, const std::tuple<Fields...>& fields)
{
    if (!object.is_object())
        return false;
    return std::apply([&](const auto&... field) { return (decodeField(object, record, field) && ...); }, fields);
}

} // namespace JsonFields
