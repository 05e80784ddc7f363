#pragma once

#include <QString>

class ScreenshotSource;

// Says which of this desktop's screenshot tools send their pictures to the
// Inbox, and that none does where Dropwell knows none of them, so that the
// switch never looks on while it does nothing. `home` is shown as "~".
QString redirectNote(const ScreenshotSource& source, const QString& home);
