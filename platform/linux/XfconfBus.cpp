#include "platform/linux/XfconfBus.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusMessage>
#include <QDBusVariant>

#include <cerrno>

XfconfBus::XfconfBus(QDBusConnection bus, QString channel)
    : bus_(std::move(bus))
    , channel_(std::move(channel))
{
}

Status XfconfBus::call(const QString& method, const QVariantList& arguments, QVariant* answer, bool* notFound) const
{
    QDBusMessage message = QDBusMessage::createMethodCall(
        QString::fromLatin1(service), QStringLiteral("/org/xfce/Xfconf"), QStringLiteral("org.xfce.Xfconf"), method);
    message.setArguments(arguments);
    const QDBusMessage reply = bus_.call(message);
    if (notFound)
        *notFound = reply.errorName().endsWith(QLatin1String("NotFound"));
    if (reply.type() != QDBusMessage::ReplyMessage)
        return Status::failure(EIO,
            QCoreApplication::translate("XfconfBus", "Xfce's settings store did not answer: %1").arg(reply.errorMessage()));
    if (answer && !reply.arguments().isEmpty())
        *answer = reply.arguments().constFirst();
    return Status::success();
}

StatusOr<QMap<QString, QString>> XfconfBus::strings(const QString& base) const
{
    QVariant answer;
    bool notFound = false;
    if (const Status called = call(QStringLiteral("GetAllProperties"), {channel_, base}, &answer, &notFound); !called.ok()) {
        // A channel or base that has no properties yet is an error to xfconfd.
        if (notFound)
            return QMap<QString, QString>();
        return called;
    }
    QVariantMap all;
    if (answer.metaType() == QMetaType::fromType<QDBusArgument>())
        answer.value<QDBusArgument>() >> all;
    else
        all = answer.toMap();
    QMap<QString, QString> strings;
    for (auto property = all.cbegin(); property != all.cend(); ++property) {
        const qsizetype slash = property.key().lastIndexOf(QLatin1Char('/'));
        const QVariant& value = property.value();
        if (property.key().left(slash) == base && value.typeId() == QMetaType::QString)
            strings.insert(property.key().mid(slash + 1), value.toString());
    }
    return strings;
}

Status XfconfBus::setString(const QString& property, const QString& value)
{
    return call(QStringLiteral("SetProperty"), {channel_, property, QVariant::fromValue(QDBusVariant(value))});
}

Status XfconfBus::reset(const QString& property)
{
    return call(QStringLiteral("ResetProperty"), {channel_, property, true});
}
