#pragma once

#include <QDBusConnection>
#include <QThread>

// A desktop service of the test's own on the private session bus, served
// from a thread of its own, as another process would serve it, while
// Dropwell's calls block the main thread; on a connection of its own for the
// life of this object.
template <typename Service>
class ServedOnBus {
public:
    template <typename... Arguments>
    ServedOnBus(const QString& name, const QString& path, Arguments&&... arguments)
        : connection_(QStringLiteral("served:") + name)
        , path_(path)
        , bus_(QDBusConnection::connectToBus(QDBusConnection::SessionBus, connection_))
        , service_(bus_, std::forward<Arguments>(arguments)...)
    {
        service_.moveToThread(&thread_);
        thread_.start();
        // Signals are sent as messages: the bus relays none from another thread.
        registered_ = bus_.registerObject(path, &service_, QDBusConnection::ExportScriptableSlots) && bus_.registerService(name);
    }
    ~ServedOnBus()
    {
        bus_.unregisterObject(path_);
        QDBusConnection::disconnectFromBus(connection_);
        thread_.quit();
        thread_.wait();
    }
    bool registered() const { return registered_; }
    Service* operator->() { return &service_; }
    Service& operator*() { return service_; }

private:
    QString connection_;
    QString path_;
    QDBusConnection bus_;
    QThread thread_;
    Service service_;
    bool registered_ = false;
};
