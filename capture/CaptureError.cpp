#include "capture/CaptureError.h"

#include <QCoreApplication>

QString CaptureError::friendlyMessage() const
{
    switch (kind) {
    case Kind::Failed:
        return message;
    case Kind::Permission:
    case Kind::PermissionNeedsRelaunch:
        return QCoreApplication::translate("CaptureError", "Allow Dropwell to capture the screen in your desktop's settings, then try again.");
    case Kind::NoDisplay:
        return QCoreApplication::translate("CaptureError", "Couldn't find a display to capture.");
    case Kind::AwaitingPermission:
    case Kind::Cancelled:
        return {};
    }
    return message;
}
