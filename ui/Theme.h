#pragma once

#include "core/AppSettings.h"

#include <QColor>
#include <QPalette>

// The colours of Dropwell's windows in one appearance. Black and grey are
// dark schemes, light is light; the popover is see-through where a
// compositing manager can blend it with what lies behind.
struct Theme {
    AppearanceMode mode = AppearanceMode::Black;
    bool dark = true;
    QColor popoverBackground; // translucent where blending is possible
    QColor settingsBackground; // always opaque
    QColor text;
    QColor secondaryText;
    QColor tertiaryText;
    QColor separator;
    QColor tile; // the faint fill behind buttons and pills
    QColor strongTile; // the same, for a button that is on
    QColor card;
    QColor sidebar;
    QColor paneArea;
    QColor accent;
    QColor destructive;
    QColor warning; // behind the banner that something needs fixing
    QColor swatch; // the appearance's own colour, as the settings show it

    static Theme forMode(AppearanceMode mode, bool translucent);
    // The palette Qt's own widgets inside a themed window draw with.
    QPalette palette() const;
    // `color` at `alpha` (0 to 1) of its own opacity.
    static QColor faded(QColor color, qreal alpha);
};
