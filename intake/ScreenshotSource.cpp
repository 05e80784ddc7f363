#include "intake/ScreenshotSource.h"

#include <QDir>

ScreenshotSource::ScreenshotSource(
    std::vector<ScreenshotTool*> tools, ScreenshotTool* primary, std::optional<QString> pulledFolder)
    : tools_(std::move(tools))
    , primary_(primary)
    , pulledFolder_(std::move(pulledFolder))
{
}

QString ScreenshotSource::domain() const { return primary_ ? primary_->domain() : QString(); }

QString ScreenshotSource::key() const { return primary_ ? primary_->key() : QString(); }

bool ScreenshotSource::points(const ScreenshotTool& tool, const QString& folder)
{
    const auto stored = tool.stored();
    if (!stored.ok() || !stored.value())
        return false;
    const auto named = folderNamedBy(*stored.value());
    return named && *named == QDir::cleanPath(folder);
}

std::optional<QString> ScreenshotSource::previousLocation(const ScreenshotTool& tool, const QString& inbox)
{
    const auto stored = tool.stored();
    if (!stored.ok())
        return std::nullopt;
    if (!stored.value() || points(tool, inbox))
        return tool.rawFor(tool.defaultFolder());
    return stored.value();
}

Status ScreenshotSource::restore(ScreenshotTool& tool, const std::optional<QString>& previous)
{
    return tool.store(previous && !previous->isEmpty() ? *previous : tool.rawFor(tool.defaultFolder()));
}
