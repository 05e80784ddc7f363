#include "ui/Theme.h"

QColor Theme::faded(QColor color, qreal alpha)
{
    color.setAlphaF(color.alphaF() * alpha);
    return color;
}

Theme Theme::forMode(AppearanceMode mode, bool translucent)
{
    // Callers resolve the desktop's preference first (shownAppearance); light
    // is what desktops show when they state none.
    if (mode == AppearanceMode::Desktop)
        mode = AppearanceMode::Light;
    Theme theme;
    theme.mode = mode;
    theme.dark = mode != AppearanceMode::Light;
    switch (mode) {
    case AppearanceMode::Black:
        theme.swatch = QColor::fromRgbF(0.07, 0.07, 0.07);
        theme.popoverBackground = QColor::fromRgbF(0, 0, 0, translucent ? 0.92 : 1);
        theme.card = faded(Qt::white, 0.06);
        theme.sidebar = faded(Qt::white, 0.04);
        theme.paneArea = faded(Qt::white, 0.025);
        break;
    case AppearanceMode::Grey:
        theme.swatch = QColor::fromRgbF(0.19, 0.19, 0.19);
        theme.popoverBackground = QColor::fromRgbF(0.3, 0.3, 0.3, translucent ? 0.88 : 1);
        theme.card = faded(Qt::white, 0.055);
        theme.sidebar = faded(Qt::black, 0.14);
        theme.paneArea = faded(Qt::white, 0.03);
        break;
    case AppearanceMode::Light:
    case AppearanceMode::Desktop:
        theme.swatch = QColor::fromRgbF(0.96, 0.96, 0.96);
        theme.popoverBackground = QColor::fromRgbF(1, 1, 1, translucent ? 0.94 : 1);
        theme.card = faded(Qt::black, 0.05);
        theme.sidebar = faded(Qt::black, 0.045);
        theme.paneArea = faded(Qt::black, 0.02);
        break;
    }
    theme.settingsBackground = theme.swatch;
    theme.text = theme.dark ? QColor(245, 245, 247) : QColor(29, 29, 31);
    theme.secondaryText = faded(theme.text, 0.6);
    theme.tertiaryText = faded(theme.text, 0.38);
    theme.separator = faded(theme.text, 0.12);
    theme.tile = faded(theme.text, 0.06);
    theme.strongTile = faded(theme.text, 0.12);
    theme.accent = theme.dark ? QColor(10, 132, 255) : QColor(0, 122, 255);
    theme.destructive = theme.dark ? QColor(255, 69, 58) : QColor(255, 59, 48);
    theme.warning = faded(QColor(255, 204, 0), 0.18);
    return theme;
}

QPalette Theme::palette() const
{
    QPalette palette;
    const QColor base = settingsBackground;
    palette.setColor(QPalette::Window, base);
    palette.setColor(QPalette::Base, dark ? base.lighter(130) : Qt::white);
    palette.setColor(QPalette::AlternateBase, base);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    palette.setColor(QPalette::Button, dark ? base.lighter(160) : base.darker(105));
    palette.setColor(QPalette::Highlight, accent);
    palette.setColor(QPalette::HighlightedText, Qt::white);
    palette.setColor(QPalette::PlaceholderText, tertiaryText);
    palette.setColor(QPalette::ToolTipBase, dark ? QColor(40, 40, 42) : QColor(250, 250, 250));
    palette.setColor(QPalette::ToolTipText, text);
    palette.setColor(QPalette::Link, accent);
    palette.setColor(QPalette::Disabled, QPalette::Text, tertiaryText);
    palette.setColor(QPalette::Disabled, QPalette::WindowText, tertiaryText);
    palette.setColor(QPalette::Disabled, QPalette::ButtonText, tertiaryText);
    return palette;
}
