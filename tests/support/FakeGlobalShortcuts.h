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
    explicit FakeGlobalShortcuts(const QDBusConnection& bus) : bus_(bus)
    {
        qDBusRegisterMetaType<PortalShortcut>();
        qDBusRegisterMetaType<QList<PortalShortcut>>();
    }

    void setChoice(const QMap<QString, QString>& choice)
    {
        QMutexLocker lock(&mutex_);
        choice_ = choice;
    }
    QList<PortalShortcut> asked()
    {
        QMutexLocker lock(&mutex_);
        return asked_;
    }
    int dialogs()
    {
        QMutexLocker lock(&mutex_);
        return dialogs_;
    }
    int binds()
    {
        QMutexLocker lock(&mutex_);
        return binds_;
    }
    QString session()
    {
        QMutexLocker lock(&mutex_);
        return session_;
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
        session_ = QStringLiteral("/org/freedesktop/portal/desktop/session/") + caller() + QLatin1Char('/')
            + options.value(QStringLiteral("session_handle_token")).toString();
        return answer(options, {{QStringLiteral("session_handle"), session_}});
    }
    Q_SCRIPTABLE QDBusObjectPath BindShortcuts(
        const QDBusObjectPath&, const QList<PortalShortcut>& shortcuts, const QString&, const QVariantMap& options)
    {
        QMutexLocker lock(&mutex_);
        asked_ = shortcuts;
        ++binds_;
        // The dialog comes up only for shortcuts the desktop does not know.
        bool known = !shortcuts.isEmpty();
        for (const PortalShortcut& shortcut : shortcuts)
            known = known && bound_.contains(shortcut.id);
        if (!known) {
            ++dialogs_;
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
    QMutex mutex_;
    QString session_;
    QMap<QString, QString> choice_;
    QMap<QString, QString> bound_;
    QList<PortalShortcut> asked_;
    int dialogs_ = 0;
    int binds_ = 0;
};

