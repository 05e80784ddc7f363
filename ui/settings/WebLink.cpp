#include "ui/settings/WebLink.h"

#include <QDesktopServices>
#include <QEvent>

WebLink::WebLink(const QString& text, QUrl url, QWidget* parent) : QLabel(parent), text_(text), url_(std::move(url))
{
    setTextFormat(Qt::RichText);
    setTextInteractionFlags(Qt::LinksAccessibleByMouse | Qt::LinksAccessibleByKeyboard);
    setFocusPolicy(Qt::StrongFocus);
    connect(this, &QLabel::linkActivated, this, [this] { QDesktopServices::openUrl(url_); });
    compose();
}

void WebLink::changeEvent(QEvent* event)
{
    QLabel::changeEvent(event);
    if (event->type() == QEvent::PaletteChange)
        compose();
}

void WebLink::compose()
{
    setText(QStringLiteral("<a href=\"%1\" style=\"color: %2;\">%3</a>")
                .arg(url_.toString(QUrl::FullyEncoded), palette().color(QPalette::Link).name(), text_.toHtmlEscaped()));
}
