#pragma once

#include "core/AppSettings.h"
#include "core/Persistence.h"

#include <QObject>
#include <QStringList>

#include <functional>

class StartNotes;

// The user's settings: read when the model is made, written whole on each
// change, which changed() announces.
class ModelSettings : public QObject {
    Q_OBJECT
public:
    ModelSettings(const Persistence& persistence, StartNotes& notes);

    const AppSettings& value() const { return settings_; }
    // The appearance the windows wear now; changed() follows a change of the
    // desktop's preference when it is followed.
    AppearanceMode shownAppearance() const { return ::shownAppearance(settings_.appearance, desktopPrefersDark_); }
    void setDesktopPrefersDark(bool dark);
    // Changes the settings and writes them at once.
    void change(const std::function<void(AppSettings&)>& change);
    // Values read out of range were brought into it in memory; at the first
    // start they are written, and the popover says which.
    void saveCorrections();

Q_SIGNALS:
    void changed();

private:
    void save();

    const Persistence& persistence_;
    StartNotes& notes_;
    AppSettings settings_;
    bool desktopPrefersDark_ = false;
    // Unreadable or too large: the file on disk is kept aside before the first save.
    Persistence::LoadState loadState_ = Persistence::LoadState::Missing;
    QStringList corrections_;
};
