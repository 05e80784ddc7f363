#pragma once

#include <QAbstractButton>

// One pane in the settings sidebar: a symbol and a name on a full-width
// row, with a soft rounded highlight behind the pane that is showing.
// The buttons of one sidebar are exclusive, so the arrow keys walk them.
class SidebarButton : public QAbstractButton {
    Q_OBJECT
public:
    SidebarButton(const QString& symbol, const QString& title, QWidget* parent = nullptr);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QString symbol_;
};
