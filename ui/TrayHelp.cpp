#include "ui/TrayHelp.h"

#include <QCoreApplication>
#include <QStringList>

QString trayHelpFor(const QString& desktop)
{
    const QStringList names = desktop.split(QLatin1Char(':'), Qt::SkipEmptyParts);
    const auto is = [&names](const char* name) { return names.contains(QLatin1String(name), Qt::CaseInsensitive); };
    if (is("GNOME") || is("ubuntu"))
        return QCoreApplication::translate("TrayHelp", "This desktop shows no tray icons by itself. Install the AppIndicator extension "
                              "(package gnome-shell-extension-appindicator) and turn it on in Extensions, and "
                              "Dropwell's cube appears in the top bar.");
    if (is("KDE"))
        return QCoreApplication::translate("TrayHelp", "The panel has no System Tray. Add the System Tray widget to the panel, and Dropwell's "
                              "cube appears there.");
    if (is("XFCE"))
        return QCoreApplication::translate("TrayHelp", "The panel has no Status Tray. Add the Status Tray Plugin to the panel, and Dropwell's "
                              "cube appears there.");
    return QCoreApplication::translate("TrayHelp", "No system tray was found. Add a tray (notification area) to your panel, and Dropwell's cube "
                          "appears there; until then this window stands in for it.");
}
