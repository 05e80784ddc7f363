#pragma once

#include "platform/Previewer.h"

// Previews a file by opening it in the user's default application for its
// type: the one preview every desktop has, until Dropwell shows its own.
class DefaultAppPreviewer final : public Previewer {
public:
    bool isVisible() const override { return false; }
    void toggle(const QStringList& paths, int startAt) override;
    void close() override {}
};
