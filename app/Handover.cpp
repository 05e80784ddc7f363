#include "app/Handover.h"

#include "app/SingleInstance.h"

#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>

namespace {

constexpr int callTimeoutMs = 5000;

} // namespace

Handover::Handover(const Command& command)
{
    const QDBusConnection bus = QDBusConnection::sessionBus();
    if (!bus.isConnected()) {
        result_ = Result::NoBus;
        reason_ = bus.lastError().message();
        return;
    }
    const QDBusMessage reply = call(bus, command);
    if (reply.type() == QDBusMessage::ReplyMessage)
        result_ = Result::Taken;
    // What the bus answers a call to a name nobody owns (and no service file starts).
    else if (QDBusError(reply).type() == QDBusError::ServiceUnknown)
        result_ = Result::NoneRunning;
    else {
        result_ = Result::Unanswered;
        reason_ = reply.errorMessage();
    }
}

QDBusMessage Handover::call(const QDBusConnection& bus, const Command& command)
{
    QDBusMessage message = QDBusMessage::createMethodCall(QString::fromLatin1(SingleInstance::serviceName),
        QString::fromLatin1(SingleInstance::objectPath), QString::fromLatin1(SingleInstance::serviceName),
        command.methodName());
    if (!command.target.isEmpty())
        message << command.target;
    return bus.call(message, QDBus::Block, callTimeoutMs);
}
