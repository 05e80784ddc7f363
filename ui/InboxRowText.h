#pragma once

#include "core/TrackedFile.h"

class RelativeTime;

// The words of one row of the Inbox list.
namespace InboxRowText {

// Videos count as recordings whatever their source.
bool isRecording(const TrackedFile& file);

// "Recording" for videos, else where the file came from.
QString kind(const TrackedFile& file);

// "2 hr. ago · Screenshot · expires in 6 days"
QString meta(const TrackedFile& file, const QDateTime& now, const RelativeTime& relative);

} // namespace InboxRowText
