#include "core/ExpiryNotify.h"

#include <QUuid>

namespace ExpiryNotify {

QString body(int expired, int soon)
{
    QString text = expired == 1 ? QStringLiteral("1 file expired.")
                                : QString::number(expired) + QStringLiteral(" files expired.");
    if (soon == 1)
        text += QStringLiteral(" 1 more expires soon.");
    else if (soon > 1)
        text += QLatin1Char(' ') + QString::number(soon) + QStringLiteral(" more expire soon.");
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
