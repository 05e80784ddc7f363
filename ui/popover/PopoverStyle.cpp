#include "ui/popover/PopoverStyle.h"

#include "ui/Theme.h"

namespace {

QString css(const QColor& color)
{
    return QStringLiteral("rgba(%1, %2, %3, %4)").arg(color.red()).arg(color.green()).arg(color.blue()).arg(color.alphaF(), 0, 'f', 3);
}

} // namespace

QString popoverStyleSheet(const Theme& theme)
{
    // The custom-drawn parts read their colours from the palette, which a
    // style sheet only sets where a rule names a colour: so every widget gets one.
    return QStringLiteral(R"(
QWidget { color: %1; selection-background-color: %7; selection-color: white; }
QLabel { font-size: 13px; }
QLabel#headline { font-size: 14px; font-weight: 600; }
QLabel#pill { font-size: 11px; font-weight: 500; color: %2; background: %3; border-radius: 8px; padding: 2px 7px; }
QLabel#toast { font-size: 11px; color: %4; }
QLabel#callout { font-size: 12px; font-weight: 500; }
QLabel#secondary { color: %2; }
QLabel#hint { font-size: 11px; color: %5; }
QLabel#captureTitle { font-size: 11px; font-weight: 600; color: %2; }
QLabel#captureHint { font-size: 10px; font-weight: 500; color: %2; }
QPushButton#capsule { font-size: 11px; font-weight: 600; color: %2; background: %3; border: none; border-radius: 10px; padding: 4px 8px; }
QPushButton#capsule[on="true"] { background: %6; }
QPushButton#prominent { font-size: 11px; font-weight: 600; color: white; background: %7; border: none; border-radius: 5px; padding: 3px 10px; }
QPushButton#plain, QPushButton#small { font-size: 11px; color: %1; background: %3; border: none; border-radius: 5px; padding: 3px 10px; }
QLineEdit#search { background: transparent; border: none; color: %1; font-size: 13px; selection-background-color: %7; }
QLineEdit#rename { background: %9; color: %1; border: 1px solid %7; border-radius: 3px; selection-background-color: %7; }
QFrame#divider { background: %8; border: none; }
QListView { background: transparent; border: none; outline: none; }
QScrollBar:vertical { background: transparent; width: 8px; margin: 2px; }
QScrollBar::handle:vertical { background: %3; border-radius: 3px; min-height: 24px; }
QScrollBar::handle:vertical:hover { background: %6; }
QScrollBar::add-line, QScrollBar::sub-line, QScrollBar::add-page, QScrollBar::sub-page { height: 0; background: none; }
QMenu { background: %9; border: 1px solid %8; border-radius: 6px; padding: 4px; }
QMenu::item { padding: 4px 18px 4px 12px; border-radius: 4px; }
QMenu::item:selected { background: %7; color: white; }
QMenu::item:disabled { color: %5; }
QMenu::separator { height: 1px; background: %8; margin: 4px 6px; }
QToolTip { color: %1; background: %9; border: 1px solid %8; }
)")
        .arg(css(theme.text), css(theme.secondaryText), css(theme.tile), css(Theme::faded(theme.destructive, 0.85)),
            css(Theme::faded(theme.secondaryText, 0.7)), css(theme.strongTile), css(theme.accent), css(theme.separator),
            css(theme.settingsBackground));
}
