#include "platform/qt/DefaultAppPreviewer.h"

#include <QDesktopServices>
#include <QUrl>

void DefaultAppPreviewer::toggle(const QStringList& paths, int startAt)
{
    if (startAt >= 0 && startAt < paths.size())
        QDesktopServices::openUrl(QUrl::fromLocalFile(paths.at(startAt)));
}
