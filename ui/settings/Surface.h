#pragma once

#include <QColor>
#include <QWidget>

// A plain area of the settings window that lays a faint layer of colour over
// the window's background: a card, the sidebar, the pane area, a divider.
// The window hands each one its colour when the appearance changes.
class Surface : public QWidget {
    Q_OBJECT
public:
    enum class Kind { Card, Sidebar, PaneArea, Divider };

    explicit Surface(Kind kind, QWidget* parent = nullptr);

    Kind kind() const { return kind_; }
    QColor fill() const { return fill_; }
    void setFill(const QColor& fill);

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    Kind kind_;
    QColor fill_;
};
