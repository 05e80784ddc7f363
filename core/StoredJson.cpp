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

std::optional<Json> parse(const QByteArray& bytes)
{
    Json json = Json::parse(bytes.constBegin(), bytes.constEnd(), nullptr, false);
    if (json.is_discarded())
        return std::nullopt;
    return json;
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
    const auto json = parse(bytes);
    AppSettings settings;
    if (!json || !JsonFields::decodeRecord(*json, settings, settingsFields))
        return std::nullopt;
    return settings;
}

std::optional<TrackedFiles> decodeIndex(const QByteArray& bytes)
{
    const auto json = parse(bytes);
    if (!json || !json->is_array())
        return std::nullopt;
    TrackedFiles files;
    files.reserve(qsizetype(json->size()));
    for (const Json& element : *json) {
        TrackedFile file;
        if (!JsonFields::decodeRecord(element, file, trackedFileFields))
            return std::nullopt;
        files.append(std::move(file));
    }
    return files;
}

} // namespace StoredJson
