#pragma once

#include <QString>

struct Theme;

// The style sheet of the popover's text and Qt's own controls in it, for one
// appearance; the custom-drawn parts read the palette.
QString popoverStyleSheet(const Theme& theme);
