#pragma once

#include "core/RawValues.h"

#include <QDateTime>
#include <QString>

#include <optional>

// Where Keep sends files.
enum class KeepDestination { Kept, Documents, Desktop, Other };

// The colour scheme of Dropwell's windows, in the order the settings offer them.
enum class AppearanceMode {
    Black,
    Grey,
    Light,
    Desktop, // black or light, as the desktop prefers
};

template <>
struct RawValues<KeepDestination> {
    static constexpr std::array<std::pair<KeepDestination, std::string_view>, 4> table {{
        {KeepDestination::Kept, "kept"},
        {KeepDestination::Documents, "documents"},
        {KeepDestination::Desktop, "desktop"},
        {KeepDestination::Other, "other"},
    }};
};

template <>
struct RawValues<AppearanceMode> {
    static constexpr std::array<std::pair<AppearanceMode, std::string_view>, 4> table {{
        {AppearanceMode::Black, "black"},
        {AppearanceMode::Grey, "grey"},
        {AppearanceMode::Light, "light"},
        {AppearanceMode::Desktop, "desktop"},
    }};
};

// The appearance the windows wear for the one chosen.
constexpr AppearanceMode shownAppearance(AppearanceMode chosen, bool desktopPrefersDark)
{
    if (chosen != AppearanceMode::Desktop)
        return chosen;
    return desktopPrefersDark ? AppearanceMode::Black : AppearanceMode::Light;
}

// The user's settings. Every field has its default here; a missing or
// unreadable settings file gives exactly this record.
struct AppSettings {
    bool screenshotsEnabled = true;
    bool watchDownloadsEnabled = false;
    bool safariPlaceholderShown = true; // carried through load and save
    std::optional<QString> previousScreenshotLocation;
    KeepDestination keepDestination = KeepDestination::Kept;
    std::optional<QString> keepDestinationPath;
    bool notificationsEnabled = false;
    std::optional<QDateTime> expiryPausedUntil;
    bool onboardingCompleted = false;
    std::optional<QDateTime> downloadsWatchEnabledAt;
    bool locationDriftBannerDismissed = false;
    bool inboxBadgeEnabled = true;
    bool recordWithMic = false;
    AppearanceMode appearance = AppearanceMode::Desktop;
    // Brought into range when read (SettingsRanges); the expiry rule bounds
    // them again.
    qint64 screenshotExpiryHours = 48;
    qint64 otherExpiryDays = 7;

    bool operator==(const AppSettings&) const = default;
};
