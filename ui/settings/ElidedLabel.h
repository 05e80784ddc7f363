#pragma once

#include <QLabel>

// A one-line label that gives up its middle rather than its width: a long
// path shows its start and its end.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    using QLabel::QLabel;

    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
};
