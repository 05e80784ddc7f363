#pragma once

#include "core/AppSettings.h"
#include "core/TrackedFile.h"

#include <QString>

// Dropwell's own two files in its support folder: "settings.json" and
// "index.json". Every write replaces the whole file atomically: a reader sees
// the old file or the new one, never a mixture.
class Persistence {
public:
    explicit Persistence(QString supportFolder);
    // $XDG_DATA_HOME/Dropwell, by default ~/.local/share/Dropwell.
    static Persistence forCurrentUser();

    enum class LoadState {
        Missing,
        Loaded,
        Unreadable, // present, but it cannot be read or decoded
        TooLarge, // larger than its decoder accepts: never read into memory
    };
    // Unreadable or too large: the file must be kept aside before a save.
    static bool mustKeepAside(LoadState state) { return state == LoadState::Unreadable || state == LoadState::TooLarge; }
    template <typename T>
    struct Loaded {
        T value; // the defaults unless the state is Loaded
        LoadState state;
    };

    const QString& support() const { return support_; }
    QString indexPath() const;
    QString settingsPath() const;

    void ensureSupport() const;
    Loaded<AppSettings> loadSettings() const;
    Loaded<TrackedFiles> loadIndex() const;
    // False when the file could not be written; the old file then stays.
    bool saveSettings(const AppSettings& settings) const;
    bool saveIndex(const TrackedFiles& files) const;

    // Moves a file that could not be read out of the way of the next save, to
    // "<name>.unreadable.json" beside it, so its contents are never lost.
    // Returns where it went, or nothing when it could not be moved.
    std::optional<QString> keepAside(const QString& path) const;

private:
    bool write(const QString& path, const QByteArray& bytes) const;

    QString support_;
};
