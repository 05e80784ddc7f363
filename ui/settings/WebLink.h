#pragma once

#include <QLabel>
#include <QUrl>

// A link to a web page, opened in the user's browser. Rich text takes a
// link's colour when the text is set, so the link sets itself again when
// the palette changes, to wear the appearance's accent.
class WebLink : public QLabel {
    Q_OBJECT
public:
    WebLink(const QString& text, QUrl url, QWidget* parent = nullptr);

    QUrl url() const { return url_; }

protected:
    void changeEvent(QEvent* event) override;

private:
    void compose();

    QString text_;
    QUrl url_;
};
