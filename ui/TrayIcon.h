#pragma once

#include <QIcon>
#include <QObject>
#include <QSystemTrayIcon>

class AppModel;
class QMenu;

// Dropwell's place in the system tray: the cube, with the Inbox count painted
// into it while the badge setting is on and the Inbox is not empty.
class TrayIcon : public QObject {
    Q_OBJECT
public:
    explicit TrayIcon(AppModel& model, QObject* parent = nullptr);
    ~TrayIcon() override;

    void show();
    // Where the tray shows the icon; empty when the tray does not say.
    QRect geometry() const;

    static QString helpText(int count);
    // The cube, with `badge` painted into its corner unless it is empty.
    static QIcon icon(const QString& badge);

Q_SIGNALS:
    void activated();
    void quitRequested();

private:
    void refresh();

    AppModel& model_;
    QSystemTrayIcon tray_;
    std::unique_ptr<QMenu> menu_;
    QString shownBadge_ = QStringLiteral("-"); // nothing painted yet
};
