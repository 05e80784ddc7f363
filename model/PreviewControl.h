#pragma once

#include "core/TrackedFile.h"

#include <QStringList>

class FileActions;
class PopoverState;

// Opens and closes the previewer over the popover's files.
class PreviewControl {
public:
    PreviewControl(const FileActions& actions, PopoverState& popover);

    // Previews what an action on `file` applies to, from `file` on, or
    // closes the preview.
    void togglePreviewOf(const TrackedFile& file);
    // Previews the selection (or selects and previews the first visible
    // file), or closes the preview.
    void togglePreviewOfSelection();
    // Previews files that may not be in the index yet (a capture just written).
    void togglePreview(const QStringList& paths, int startAt);
    bool isPreviewVisible() const;
    void closePreview();

private:
    const FileActions& actions_;
    PopoverState& popover_;
};
