#pragma once

#include "core/AppSettings.h"

#include <QStringList>

// The ranges of the settings that a hand-edited file can put out of reach of
// the interface: expiry durations from one hour or day up to ten years.
namespace SettingsRanges {

// Brings every value into its range and says, one sentence each, what was
// changed ("Screenshot expiry was -5 hours; it is now 1 hour."). Nothing when
// every value was in range.
QStringList correct(AppSettings& settings);

} // namespace SettingsRanges
