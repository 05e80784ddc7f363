#include "app/LazyPreviewWindow.h"

#include "ui/PreviewWindow.h"

LazyPreviewWindow::LazyPreviewWindow() = default;

LazyPreviewWindow::~LazyPreviewWindow() = default;

bool LazyPreviewWindow::isVisible() const { return window_ && window_->isVisible(); }

void LazyPreviewWindow::toggle(const QStringList& paths, int startAt)
{
    if (!window_) {
        window_ = std::make_unique<PreviewWindow>();
        window_->setTheme(theme_);
    }
    window_->toggle(paths, startAt);
}

void LazyPreviewWindow::close()
{
    if (window_)
        window_->close();
}

void LazyPreviewWindow::setTheme(const Theme& theme)
{
    theme_ = theme;
    if (window_)
        window_->setTheme(theme);
}
