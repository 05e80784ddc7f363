#pragma once

#include <QFont>
#include <QString>

class QBoxLayout;
class QLabel;
class QPushButton;
class QVBoxLayout;
class QWidget;
class Surface;
struct Theme;

// How the settings window's pieces look: its text styles, its thin dividers,
// and the colours of one appearance handed to every piece at once.
namespace SettingsStyle {

enum class Text {
    PaneTitle,
    Headline,
    Body, // plain sentences
    BodyMedium, // the names of toggles and sliders
    Callout,
    Caption,
    CaptionMono, // paths
    ValueMono, // versions, dates, durations
    CardTitle,
};

enum class Tone { Primary, Secondary, Tertiary };

QFont font(Text text);
QLabel* label(const QString& text, Text style, Tone tone, QWidget* parent);
// A sentence that wraps to the width it is given.
QLabel* note(const QString& text, Text style, Tone tone, QWidget* parent);
QPushButton* smallButton(const QString& text, QWidget* parent);
Surface* divider(Qt::Orientation orientation, QWidget* parent);
// The column of cards that fills one pane, top to bottom.
QVBoxLayout* paneLayout(QWidget* pane);
// The title and the wrapping line under it at the top of a pane.
void addPaneTitle(QBoxLayout* layout, const QString& title, const QString& subtitle, QWidget* parent);

// Colours `window` and everything in it: Qt's own widgets through the
// palette, text by its tone, the surfaces by their kind.
void applyTheme(QWidget* window, const Theme& theme);

} // namespace SettingsStyle
