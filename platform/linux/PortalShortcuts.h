#pragma once

#include "platform/ChosenShortcuts.h"

#include <QDBusConnection>
#include <QMap>

class QDBusMessage;

// The desktop portal's GlobalShortcuts: a session of this Dropwell's in
// which the desktop binds keys the user chooses in its own dialog, and tells
// of each press. The desktop keeps the keys; they work while the session,
// and so this Dropwell, lasts. Closing the session is the only way the
// portal has to let them go.
class PortalShortcuts final : public ChosenShortcuts {
    Q_OBJECT
public:
    explicit PortalShortcuts(QDBusConnection bus, QObject* parent = nullptr);

    bool offered() const override { return !session_.isEmpty(); }
    QString trigger(ShortcutCommand command) const override { return triggers_.value(command); }
    void choose() override;

private Q_SLOTS:
    void activatedOnBus(const QDBusMessage& signal);
    void changedOnBus(const QDBusMessage& signal);

private:
    // `then` runs once the session is there.
    void createSession(std::function<void()> then);
    // Binds all the commands; the desktop asks the user for what it does
    // not know yet.
    void bind();
    void list();
    void take(const QVariant& shortcuts);

    QDBusConnection bus_;
    QString session_;
    bool bound_ = false;
    QMap<ShortcutCommand, QString> triggers_;
};
