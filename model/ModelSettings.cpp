#include "model/ModelSettings.h"

#include "core/SettingsRanges.h"
#include "model/StartNotes.h"

#include <utility>

ModelSettings::ModelSettings(const Persistence& persistence, StartNotes& notes)
    : persistence_(persistence)
    , notes_(notes)
{
    persistence_.ensureSupport();
    const auto loaded = persistence_.loadSettings();
    settings_ = loaded.value;
    loadState_ = loaded.state;
    corrections_ = SettingsRanges::correct(settings_);
}

void ModelSettings::setDesktopPrefersDark(bool dark)
{
    if (std::exchange(desktopPrefersDark_, dark) != dark && settings_.appearance == AppearanceMode::Desktop)
        Q_EMIT changed();
}

void ModelSettings::change(const std::function<void(AppSettings&)>& change)
{
    AppSettings changedSettings = settings_;
    change(changedSettings);
    if (changedSettings == settings_)
        return;
    settings_ = std::move(changedSettings);
    save();
    Q_EMIT changed();
}

void ModelSettings::saveCorrections()
{
    if (corrections_.isEmpty())
        return;
    notes_.add(std::exchange(corrections_, {}));
    save();
}

void ModelSettings::save()
{
    if (Persistence::mustKeepAside(loadState_)) {
        // The unreadable file may be the user's only copy of their choices.
        notes_.keepAside(tr("settings"), loadState_, persistence_.settingsPath(), tr("so it uses the default settings"));
        loadState_ = Persistence::LoadState::Loaded;
    }
    persistence_.saveSettings(settings_);
}
