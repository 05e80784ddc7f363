#pragma once

#include "core/AppSettings.h"

#include <QList>
#include <QWidget>

class AppModel;
class AppearanceSwatch;
class Autostart;
class ElidedLabel;
class QComboBox;
class ToggleRow;

// How Dropwell looks and where Keep sends files: the appearance, the Inbox
// count on the tray icon, and the Keep folder.
class GeneralPane : public QWidget {
    Q_OBJECT
public:
    // Without `autostart` there is no Startup card.
    explicit GeneralPane(AppModel& model, Autostart* autostart = nullptr, QWidget* parent = nullptr);

private:
    QWidget* makeAppearanceCard();
    QWidget* makeKeepCard();
    // Other asks for a folder first.
    void chooseDestination(KeepDestination destination);
    void refresh();

    AppModel& model_;
    QList<AppearanceSwatch*> swatches_;
    ToggleRow* badge_ = nullptr;
    QComboBox* destination_ = nullptr;
    QWidget* pathRow_ = nullptr;
    ElidedLabel* path_ = nullptr;
};
