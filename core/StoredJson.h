#pragma once

#include "core/AppSettings.h"
#include "core/TrackedFile.h"

#include <QByteArray>

#include <optional>

// The text of Dropwell's two files, "settings.json" and "index.json":
// pretty-printed, keys sorted, forward slashes escaped so that paths read
// back unchanged with any JSON reader, absent optional values left out.
namespace StoredJson {

// What the decoders accept at most. A real index holds about 330 bytes per
// record, so its bound leaves room for some 100,000 files; the settings are a
// few hundred bytes. No stored record nests deeper than two levels: the depth
// bound is only there so that hostile text cannot make parsing costly.
constexpr qsizetype maxSettingsBytes = qsizetype(1) << 20;
constexpr qsizetype maxIndexBytes = qsizetype(32) << 20;
constexpr int maxDepth = 16;

QByteArray encodeSettings(const AppSettings& settings);
QByteArray encodeIndex(const TrackedFiles& files);

// All or nothing: one value of a wrong type or form anywhere refuses the whole
// text, and so does text over its size bound or with more than maxDepth lists
// and objects inside one another.
// Unknown keys are ignored. An index is decoded record by record as it is
// read, so the memory it takes follows the records, not the text's shape.
std::optional<AppSettings> decodeSettings(const QByteArray& text);
std::optional<TrackedFiles> decodeIndex(const QByteArray& text);

} // namespace StoredJson
