#include "intake/ScreenshotSource.h"

#include <QDir>

ScreenshotSource::ScreenshotSource(std::vector<ScreenshotTool*> tools, ScreenshotTool* primary,
    std::optional<QString> pulledFolder, std::optional<QString> pulledRecordingsFolder)
    : tools_(std::move(tools))
    , primary_(primary)
    , pulledFolder_(std::move(pulledFolder))
    , pulledRecordingsFolder_(std::move(pulledRecordingsFolder))
{
}

ScreenshotNames ScreenshotSource::namesSavedInto(const QString& inbox) const
{
    ScreenshotNames names;
    for (const ScreenshotTool* tool : tools_) {
        if (points(*tool, inbox))
            names.add(tool->naming());
    }
    return names;
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
