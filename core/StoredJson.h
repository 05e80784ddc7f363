#pragma once

#include "core/AppSettings.h"
#include "core/TrackedFile.h"

#include <QByteArray>

#include <optional>

// The text of Dropwell's two files, "settings.json" and "index.json":
// pretty-printed, keys sorted, forward slashes escaped so that paths read
// back unchanged with any JSON reader, absent optional values left out.
namespace StoredJson {

QByteArray encodeSettings(const AppSettings& settings);
QByteArray encodeIndex(const TrackedFiles& files);

// All or nothing: one value of a wrong type or form anywhere refuses the whole
// text. Unknown keys are ignored.
std::optional<AppSettings> decodeSettings(const QByteArray& text);
std::optional<TrackedFiles> decodeIndex(const QByteArray& text);

} // namespace StoredJson
