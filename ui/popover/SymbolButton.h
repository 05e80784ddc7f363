#pragma once

#include <QAbstractButton>

// A flat button of Dropwell's popover: a symbol, optionally a short title
// under it, on a faint rounded tile that shows on hover. Colours come from
// the palette, so the button follows the window's appearance.
class SymbolButton : public QAbstractButton {
    Q_OBJECT
public:
    SymbolButton(QString symbol, QString title, QWidget* parent = nullptr);

    void setSymbol(const QString& symbol);
    // Red, for actions that throw something away.
    void setDestructive(bool destructive);
    // Red on a red tile: the button stands for something under way (a recording).
    void setEmphasised(bool emphasised);
    void setSymbolSize(int size);
    // Always on its tile, as the capture buttons are, not only on hover.
    void setTiled(bool tiled);

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;
    void enterEvent(QEnterEvent* event) override;
    void leaveEvent(QEvent* event) override;

private:
    QString symbol_;
    int symbolSize_ = 15;
    bool destructive_ = false;
    bool emphasised_ = false;
    bool tiled_ = false;
    bool hovered_ = false;
};
