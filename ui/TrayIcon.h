#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

#include <optional>
#include <utility>

class AppModel;
class QMenu;

// Dropwell's place in the system tray: the cube, with a red dot while a
// recording runs, else the Inbox count painted into it while the badge
// setting is on and the Inbox is not empty.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(AppModel& model, QObject* parent = nullptr);
    ~TrayIcon() override;

    void show();
    // Where the tray shows the icon; empty when the tray does not say.
    QRect geometry() const;

    void setRecording(bool recording);

    static QString helpText(int count, bool recording);
    // The cube, with the recording dot or else `badge` painted into its
    // corner (none when it is empty).
    static QIcon icon(const QString& badge, bool recording);

Q_SIGNALS:
    void activated();
    void quitRequested();

private:
    void refresh();

    AppModel& model_;
    QSystemTrayIcon tray_;
    std::unique_ptr<QMenu> menu_;
    bool recording_ = false;
    std::optional<std::pair<QString, bool>> shownMark_; // badge and dot last painted
};
