#pragma once

#include "platform/GlobalEscape.h"

#include <QDBusConnection>
#include <QString>

#include <qcoro/qcorotask.h>

class QDBusMessage;

// Escape for the whole desktop through the GlobalShortcuts portal, bound
// only while held: a session of its own per hold, whose closing lets the
// key go, so Escape is Dropwell's only while a recording runs. The desktop
// may ask the user the first time, and may give another key instead.
class PortalEscape final : public GlobalEscape {
    Q_OBJECT
public:
    explicit PortalEscape(QDBusConnection bus, QObject* parent = nullptr);
    ~PortalEscape() override;

    // False until the desktop was found to offer the portal, and where it
    // does not.
    bool grab() override;
    void release() override;

private Q_SLOTS:
    void activatedOnBus(const QDBusMessage& signal);

private:
    QCoro::Task<> bind(int hold);
    void close(const QString& session);

    QDBusConnection bus_;
    bool offered_ = false;
    // Counts holds, so a binding that finishes after its release goes too.
    int hold_ = 0;
    bool held_ = false;
    QString session_;
};
