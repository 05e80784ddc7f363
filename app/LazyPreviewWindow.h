#pragma once

#include "core/Previewer.h"
#include "ui/Theme.h"

#include <memory>

class PreviewWindow;

// The previewer the model is given at start-up; the window itself (and the
// media libraries behind it) is made the first time a file is previewed.
class LazyPreviewWindow final : public Previewer {
public:
    LazyPreviewWindow();
    ~LazyPreviewWindow() override;

    bool isVisible() const override;
    void toggle(const QStringList& paths, int startAt) override;
    void close() override;
    void setTheme(const Theme& theme);

private:
    Theme theme_;
    std::unique_ptr<PreviewWindow> window_;
};
