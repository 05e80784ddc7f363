#include "core/ExpiryNotify.h"

#include <QCoreApplication>
#include <QUuid>

namespace ExpiryNotify {

QString body(int expired, int soon)
{
    QString text = expired == 1 ? QCoreApplication::translate("ExpiryNotify", "1 file expired.")
                                : QCoreApplication::translate("ExpiryNotify", "%1 files expired.").arg(expired);
    if (soon == 1)
        text += QLatin1Char(' ') + QCoreApplication::translate("ExpiryNotify", "1 more expires soon.");
    else if (soon > 1)
        text += QLatin1Char(' ') + QCoreApplication::translate("ExpiryNotify", "%1 more expire soon.").arg(soon);
    return text;
}

Notification summary(int expired, int soon)
{
    return {
        QStringLiteral("Dropwell"),
        body(expired, soon),
        QStringLiteral("org.dropwell.expiry.") + QUuid::createUuid().toString(QUuid::WithoutBraces).toUpper(),
    };
}

} // namespace ExpiryNotify
