#pragma once

// A GlobalShortcuts portal of the test's own, served on the private session
// bus: its requests answer by Response signals, as the desktops' portals do.
// Its shortcuts travel as Dropwell's own record of one: the wire format.

#include "platform/linux/PortalShortcut.h"

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusContext>
#include <QDBusMessage>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QMap>
#include <QMutex>
#include <QTimer>

// The desktop's side: the keys its dialog would let the user choose
// (`choice`, by id), and those it has bound, kept across sessions.
class FakeGlobalShortcuts : public QObject, protected QDBusContext {
    Q_OBJECT
    Q_CLASSINFO("D-Bus Interface", "org.freedesktop.portal.GlobalShortcuts")
public:
    FakeGlobalShortcuts(const QDBusConnection& bus, QMap<QString, QString> choice) : bus_(bus), choice_(std::move(choice))
    {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
    }

    // What the desktop has been asked so far.
    struct Seen {
        QString session; // the latest
        QList<PortalShortcut> asked; // by the latest BindShortcuts
        int binds = 0;
        int dialogs = 0;
    };
    Seen seen()
    {
        QMutexLocker lock(&mutex_);
        return seen_;
    }
    void press(const QString& session, const QString& id)
    {
        QDBusMessage signal = QDBusMessage::createSignal(QStringLiteral("/org/freedesktop/portal/desktop"),
            QStringLiteral("org.freedesktop.portal.GlobalShortcuts"), QStringLiteral("Activated"));
        signal << QVariant::fromValue(QDBusObjectPath(session)) << id << qulonglong(1) << QVariantMap();
        bus_.send(signal);
    }

public Q_SLOTS:
    Q_SCRIPTABLE QDBusObjectPath CreateSession(const QVariantMap& options)
    {
        QMutexLocker lock(&mutex_);
        seen_.session = QStringLiteral("/org/freedesktop/portal/desktop/session/") + caller() + QLatin1Char('/')
            + options.value(QStringLiteral("session_handle_token")).toString();
        return answer(options, {{QStringLiteral("session_handle"), seen_.session}});
    }
    Q_SCRIPTABLE QDBusObjectPath BindShortcuts(
        const QDBusObjectPath&, const QList<PortalShortcut>& shortcuts, const QString&, const QVariantMap& options)
    {
        QMutexLocker lock(&mutex_);
        seen_.asked = shortcuts;
        ++seen_.binds;
        // The dialog comes up only for shortcuts the desktop does not know.
        bool known = !shortcuts.isEmpty();
        for (const PortalShortcut& shortcut : shortcuts)
            known = known && bound_.contains(shortcut.id);
        if (!known) {
            ++seen_.dialogs;
            bound_.clear();
            for (const PortalShortcut& shortcut : shortcuts)
                bound_.insert(shortcut.id, choice_.value(shortcut.id));
        }
        return answer(options, {{QStringLiteral("shortcuts"), QVariant::fromValue(boundShortcuts())}});
    }
    Q_SCRIPTABLE QDBusObjectPath ListShortcuts(const QDBusObjectPath&, const QVariantMap& options)
    {
        QMutexLocker lock(&mutex_);
        return answer(options, {{QStringLiteral("shortcuts"), QVariant::fromValue(boundShortcuts())}});
    }

private:
    QString caller() const { return message().service().mid(1).replace(QLatin1Char('.'), QLatin1Char('_')); }
    QList<PortalShortcut> boundShortcuts() const
    {
        QList<PortalShortcut> shortcuts;
        for (auto entry = bound_.cbegin(); entry != bound_.cend(); ++entry)
            shortcuts.append({entry.key(), {{QStringLiteral("trigger_description"), entry.value()}}});
        return shortcuts;
    }
    // The request's path at once, its Response after the reply.
    QDBusObjectPath answer(const QVariantMap& options, const QVariantMap& results)
    {
        const QString request = QStringLiteral("/org/freedesktop/portal/desktop/request/") + caller() + QLatin1Char('/')
            + options.value(QStringLiteral("handle_token")).toString();
        QTimer::singleShot(0, this, [this, request, results] {
            QDBusMessage response
                = QDBusMessage::createSignal(request, QStringLiteral("org.freedesktop.portal.Request"), QStringLiteral("Response"));
            response << 0u << results;
            bus_.send(response);
        });
        return QDBusObjectPath(request);
    }

    QDBusConnection bus_;
    const QMap<QString, QString> choice_;
    QMutex mutex_;
    Seen seen_;
    QMap<QString, QString> bound_;
};

