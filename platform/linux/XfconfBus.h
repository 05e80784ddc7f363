#pragma once

#include "platform/linux/XfconfChannel.h"

#include <QDBusConnection>

// One channel of the xfconfd that runs in an Xfce session, over its D-Bus
// interface org.xfce.Xfconf; it tells the desktop of every change at once.
class XfconfBus final : public XfconfChannel {
public:
    static constexpr const char* service = "org.xfce.Xfconf";

    XfconfBus(QDBusConnection bus, QString channel);

    StatusOr<QMap<QString, QString>> strings(const QString& base) const override;
    Status setString(const QString& property, const QString& value) override;
    Status reset(const QString& property) override;

private:
    // `notFound` tells of a channel or property that xfconfd does not have.
    Status call(const QString& method, const QVariantList& arguments, QVariant* answer = nullptr, bool* notFound = nullptr) const;

    QDBusConnection bus_;
    QString channel_;
};
