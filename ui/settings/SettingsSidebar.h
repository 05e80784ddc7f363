#pragma once

#include "ui/settings/Surface.h"

class QVBoxLayout;

// The column of panes down the left of the settings window. The first pane
// added is the one showing.
class SettingsSidebar : public Surface {
    Q_OBJECT
public:
    explicit SettingsSidebar(QWidget* parent = nullptr);

    void addPane(const QString& symbol, const QString& title);

Q_SIGNALS:
    void paneChosen(int index);

private:
    QVBoxLayout* buttons_;
    int count_ = 0;
};
