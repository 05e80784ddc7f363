#pragma once

#include "core/AppSettings.h"

#include <QAbstractButton>

// One appearance to pick: a tile in that appearance's own colour with its
// name below, outlined and ticked while it is the one in use.
class AppearanceSwatch : public QAbstractButton {
    Q_OBJECT
public:
    AppearanceSwatch(AppearanceMode mode, QWidget* parent = nullptr);

    AppearanceMode mode() const { return mode_; }
    bool isSelected() const { return selected_; }
    void setSelected(bool selected);

    QSize sizeHint() const override;
    static QString name(AppearanceMode mode);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    AppearanceMode mode_;
    bool selected_ = false;
};
