#include "model/PreviewControl.h"

#include "intake/FileActions.h"
#include "model/PathsOf.h"
#include "model/PopoverState.h"

#include <algorithm>

PreviewControl::PreviewControl(const FileActions& actions, PopoverState& popover)
    : actions_(actions)
    , popover_(popover)
{
}

void PreviewControl::togglePreviewOf(const TrackedFile& file)
{
    const TrackedFiles files = popover_.targets(file);
    const auto at = std::find_if(files.begin(), files.end(), [&](const TrackedFile& f) { return f.id == file.id; });
    actions_.togglePreview(pathsOf(files), at == files.end() ? 0 : int(at - files.begin()));
}

void PreviewControl::togglePreviewOfSelection()
{
    if (actions_.isPreviewVisible()) {
        actions_.closePreview();
        return;
    }
    TrackedFiles files = popover_.selectedFiles();
    if (files.isEmpty()) {
        const TrackedFiles visible = popover_.visibleInbox();
        if (visible.isEmpty())
            return;
        files = visible.mid(0, 1);
        popover_.setSelectedIDs({files.front().id});
    }
    actions_.togglePreview(pathsOf(files), 0);
}

void PreviewControl::togglePreview(const QStringList& paths, int startAt) { actions_.togglePreview(paths, startAt); }

bool PreviewControl::isPreviewVisible() const { return actions_.isPreviewVisible(); }

void PreviewControl::closePreview() { actions_.closePreview(); }
