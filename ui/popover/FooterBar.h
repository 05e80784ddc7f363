#pragma once

#include <QWidget>

#include <vector>

class AppModel;
class SymbolButton;

// Keep, Copy, Move, Preview, Reveal and Delete for the selected files.
class FooterBar : public QWidget {
    Q_OBJECT
public:
    explicit FooterBar(AppModel& model, QWidget* parent = nullptr);
    void refresh();

private:
    AppModel& model_;
    std::vector<SymbolButton*> buttons_;
};
