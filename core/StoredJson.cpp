#include "core/StoredJson.h"

#include "core/JsonFields.h"

namespace StoredJson {
namespace {

using JsonFields::Field;
using JsonFields::Json;

const auto settingsFields = std::make_tuple(
    Field {"screenshotsEnabled", &AppSettings::screenshotsEnabled},
    Field {"watchDownloadsEnabled", &AppSettings::watchDownloadsEnabled},
    Field {"safariPlaceholderShown", &AppSettings::safariPlaceholderShown},
    Field {"previousScreenshotLocation", &AppSettings::previousScreenshotLocation},
    Field {"keepDestination", &AppSettings::keepDestination},
    Field {"keepDestinationPath", &AppSettings::keepDestinationPath},
    Field {"notificationsEnabled", &AppSettings::notificationsEnabled},
    Field {"expiryPausedUntil", &AppSettings::expiryPausedUntil},
    Field {"onboardingCompleted", &AppSettings::onboardingCompleted},
    Field {"downloadsWatchEnabledAt", &AppSettings::downloadsWatchEnabledAt},
    Field {"locationDriftBannerDismissed", &AppSettings::locationDriftBannerDismissed},
    Field {"inboxBadgeEnabled", &AppSettings::inboxBadgeEnabled},
    Field {"recordWithMic", &AppSettings::recordWithMic},
    Field {"appearance", &AppSettings::appearance},
    Field {"screenshotExpiryHours", &AppSettings::screenshotExpiryHours},
    Field {"otherExpiryDays", &AppSettings::otherExpiryDays});

const auto trackedFileFields = std::make_tuple(
    Field {"id", &TrackedFile::id, true},
    Field {"path", &TrackedFile::path, true},
    Field {"inode", &TrackedFile::inode},
    Field {"size", &TrackedFile::size, true},
    Field {"source", &TrackedFile::source, true},
    Field {"landedAt", &TrackedFile::landedAt, true},
    Field {"expiresAt", &TrackedFile::expiresAt},
    Field {"expiredAt", &TrackedFile::expiredAt},
    Field {"kept", &TrackedFile::kept, true},
    Field {"folder", &TrackedFile::folder, true},
    Field {"trashedAt", &TrackedFile::trashedAt});

QByteArray text(const Json& json)
{
    // Invalid UTF-8 cannot come out of QString, but a stored file must never
    // fail to be written over it.
    const std::string pretty = json.dump(2, ' ', false, Json::error_handler_t::replace);
    QByteArray out;
    out.reserve(qsizetype(pretty.size() + pretty.size() / 16 + 1));
    // A slash only ever occurs inside strings in JSON text, and never inside a
    // multi-byte UTF-8 sequence, so escaping every one is safe.
    std::string_view rest(pretty);
    for (size_t slash = rest.find('/'); slash != std::string_view::npos; slash = rest.find('/')) {
        out.append(rest.data(), qsizetype(slash)).append("\\/", 2);
        rest.remove_prefix(slash + 1);
    }
    out.append(rest.data(), qsizetype(rest.size()));
    out += '\n';
    return out;
}

// No more than maxDepth lists and objects inside one another, counted without
// parsing: the parser keeps state for every level it enters, so text nested
// millions deep would cost memory before any callback could refuse it.
bool nestingWithinBound(const QByteArray& bytes)
{
    int open = 0;
    bool inString = false;
    for (qsizetype i = 0; i < bytes.size(); ++i) {
        const char c = bytes[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++open > maxDepth)
                return false;
        } else if (c == ']' || c == '}') {
            --open;
        }
    }
    return true;
}

// Parses `bytes`, letting `inside` see every event; it returns false to drop
// a value from the tree, and sets `refused` to refuse the whole text. Nothing
// when the text is not JSON, nested too deep or refused.
template <typename Inside>
std::optional<Json> parse(const QByteArray& bytes, bool& refused, Inside inside)
{
    if (!nestingWithinBound(bytes))
        return std::nullopt;
    const auto callback = [&](int depth, Json::parse_event_t event, Json& parsed) {
        return !refused && inside(depth, event, parsed);
    };
    Json json = Json::parse(bytes.constBegin(), bytes.constEnd(), callback, false);
    if (refused || json.is_discarded())
        return std::nullopt;
    return json;
}

template <typename... Fields>
bool isFieldKey(const std::tuple<Fields...>& fields, const std::string& key)
{
    return std::apply([&](const auto&... field) { return ((key == field.key) || ...); }, fields);
}

bool isContainerStart(Json::parse_event_t event)
{
    return event == Json::parse_event_t::object_start || event == Json::parse_event_t::array_start;
}

} // namespace

QByteArray encodeSettings(const AppSettings& settings)
{
    return text(JsonFields::encodeRecord(settings, settingsFields));
}

QByteArray encodeIndex(const TrackedFiles& files)
{
    Json array = Json::array();
    array.get_ref<Json::array_t&>().reserve(size_t(files.size()));
    for (const TrackedFile& file : files)
        array.push_back(JsonFields::encodeRecord(file, trackedFileFields));
    return text(array);
}

std::optional<AppSettings> decodeSettings(const QByteArray& bytes)
{
    if (bytes.size() > maxSettingsBytes)
        return std::nullopt;
    bool refused = false;
    const auto json = parse(bytes, refused, [](int, Json::parse_event_t, Json&) { return true; });
    AppSettings settings;
    if (!json || !JsonFields::decodeRecord(*json, settings, settingsFields))
        return std::nullopt;
    return settings;
}

std::optional<TrackedFiles> decodeIndex(const QByteArray& bytes)
{
    if (bytes.size() > maxIndexBytes)
        return std::nullopt;
    TrackedFiles files;
    bool refused = false;
    bool inField = false; // the value being read belongs to a key of the table
    // Depth 0 is the list, 1 a record, 2 the record's keys and values. Each
    // record is decoded when it closes and dropped from the tree; the values
    // of unknown keys are never kept, and no field of the table holds a
    // list or an object.
    const auto json = parse(bytes, refused, [&](int depth, Json::parse_event_t event, Json& parsed) {
        if (depth == 1 && event == Json::parse_event_t::object_end) {
            TrackedFile file;
            refused = !JsonFields::decodeRecord(parsed, file, trackedFileFields);
            if (!refused)
                files.append(std::move(file));
            return false;
        }
        if (depth == 1 && event != Json::parse_event_t::object_start) {
            refused = true; // an element that is not a record
            return false;
        }
        if (depth == 2 && event == Json::parse_event_t::key) {
            inField = isFieldKey(trackedFileFields, parsed.get<std::string>());
            return inField;
        }
        if (depth == 2 && inField && isContainerStart(event))
            refused = true;
        return !refused;
    });
    if (!json || !json->is_array())
        return std::nullopt;
    return files;
}

} // namespace StoredJson
