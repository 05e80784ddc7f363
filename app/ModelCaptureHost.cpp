#include "app/ModelCaptureHost.h"

#include "model/AppModel.h"

void ModelCaptureHost::startWatching() { model_.start(); }

StatusOr<QString> ModelCaptureHost::inbox()
{
    if (const Status made = model_.folders().ensure(); !made.ok())
        return made;
    return model_.folders().inbox();
}

void ModelCaptureHost::showToast(const std::optional<QString>& message) { model_.setToast(message); }

void ModelCaptureHost::togglePreview(const QString& path) { model_.togglePreview({path}, 0); }

void ModelCaptureHost::closePreview() { model_.closePreview(); }

QDateTime ModelCaptureHost::now() const { return model_.now(); }

const Clock& ModelCaptureHost::clock() const { return model_.clock(); }

Timers& ModelCaptureHost::timers() { return model_.timers(); }
