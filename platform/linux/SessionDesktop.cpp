#include "platform/linux/SessionDesktop.h"

#include <QStringList>

bool sessionIs(const QString& desktop, const char* name)
{
    return desktop.split(QLatin1Char(':')).contains(QString::fromLatin1(name), Qt::CaseInsensitive);
}
