#pragma once

#include "capture/CaptureHost.h"

class AppModel;

// The captures' host is the application's model: its Inbox, its message,
// its previewer, its clock.
class ModelCaptureHost final : public CaptureHost {
public:
    explicit ModelCaptureHost(AppModel& model) : model_(model) {}

    void startWatching() override;
    StatusOr<QString> inbox() override;
    void showToast(const std::optional<QString>& message) override;
    void togglePreview(const QString& path) override;
    void closePreview() override;
    QDateTime now() const override;
    const Clock& clock() const override;
    Timers& timers() override;

private:
    AppModel& model_;
};
