#include "ui/settings/SettingsStyle.h"

#include "ui/Theme.h"
#include "ui/settings/Surface.h"

#include <QBoxLayout>
#include <QFontDatabase>
#include <QLabel>
#include <QPushButton>
#include <QVariant>

namespace SettingsStyle {

namespace {

QFont sized(QFont font, int pixels, QFont::Weight weight)
{
    font.setPixelSize(pixels);
    font.setWeight(weight);
    return font;
}

// A label remembers its tone, so a new appearance can colour it again.
constexpr char toneProperty[] = "settingsTone";

QColor toneColor(Tone tone, const Theme& theme)
{
    switch (tone) {
    case Tone::Primary:
        return theme.text;
    case Tone::Secondary:
        return theme.secondaryText;
    case Tone::Tertiary:
        return theme.tertiaryText;
    }
    return theme.text;
}

QColor surfaceColor(Surface::Kind kind, const Theme& theme)
{
    switch (kind) {
    case Surface::Kind::Card:
        return theme.card;
    case Surface::Kind::Sidebar:
        return theme.sidebar;
    case Surface::Kind::PaneArea:
        return theme.paneArea;
    case Surface::Kind::Divider:
        return Theme::faded(theme.separator, 0.35);
    }
    return Qt::transparent;
}

} // namespace

QFont font(Text text)
{
    const QFont system = QFontDatabase::systemFont(QFontDatabase::GeneralFont);
    const QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    switch (text) {
    case Text::PaneTitle:
        return sized(system, 20, QFont::DemiBold);
    case Text::Headline:
        return sized(system, 13, QFont::Bold);
    case Text::Body:
        return sized(system, 13, QFont::Normal);
    case Text::BodyMedium:
        return sized(system, 13, QFont::Medium);
    case Text::Callout:
        return sized(system, 12, QFont::Normal);
    case Text::Caption:
        return sized(system, 11, QFont::Normal);
    case Text::CaptionMono:
        return sized(fixed, 11, QFont::Normal);
    case Text::ValueMono:
        return sized(fixed, 12, QFont::Normal);
    case Text::CardTitle: {
        QFont title = sized(system, 11, QFont::DemiBold);
        title.setLetterSpacing(QFont::AbsoluteSpacing, 0.6);
        return title;
    }
    }
    return system;
}

QLabel* label(const QString& text, Text style, Tone tone, QWidget* parent)
{
    auto* label = new QLabel(text, parent);
    label->setFont(font(style));
    label->setProperty(toneProperty, QVariant::fromValue(tone));
    return label;
}

QLabel* note(const QString& text, Text style, Tone tone, QWidget* parent)
{
    QLabel* note = label(text, style, tone, parent);
    note->setWordWrap(true);
    return note;
}

QPushButton* smallButton(const QString& text, QWidget* parent)
{
    auto* button = new QPushButton(text, parent);
    button->setFont(font(Text::Callout));
    button->setSizePolicy(QSizePolicy::Fixed, QSizePolicy::Fixed);
    // Some styles fit a button tightly round small text; leave it room to breathe.
    button->setMinimumWidth(button->sizeHint().width() + 12);
    return button;
}

Surface* divider(Qt::Orientation orientation, QWidget* parent)
{
    auto* line = new Surface(Surface::Kind::Divider, parent);
    if (orientation == Qt::Horizontal)
        line->setFixedHeight(1);
    else
        line->setFixedWidth(1);
    return line;
}

QVBoxLayout* paneLayout(QWidget* pane)
{
    auto* layout = new QVBoxLayout(pane);
    layout->setContentsMargins(22, 22, 22, 22);
    layout->setSpacing(18);
    return layout;
}

void addPaneTitle(QBoxLayout* layout, const QString& title, const QString& subtitle, QWidget* parent)
{
    auto* block = new QVBoxLayout;
    block->setSpacing(4);
    block->addWidget(label(title, Text::PaneTitle, Tone::Primary, parent));
    block->addWidget(note(subtitle, Text::Callout, Tone::Secondary, parent));
    layout->addLayout(block);
}

void applyTheme(QWidget* window, const Theme& theme)
{
    window->setPalette(theme.palette());
    for (QLabel* label : window->findChildren<QLabel*>()) {
        const QVariant tone = label->property(toneProperty);
        if (!tone.isValid())
            continue;
        // Only the text colour is the label's own; the rest still comes
        // from the window.
        QPalette palette;
        palette.setColor(QPalette::WindowText, toneColor(tone.value<Tone>(), theme));
        label->setPalette(palette);
    }
    for (Surface* surface : window->findChildren<Surface*>())
        surface->setFill(surfaceColor(surface->kind(), theme));
}

} // namespace SettingsStyle
