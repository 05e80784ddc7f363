#include "capture/CaptureError.h"

QString CaptureError::friendlyMessage() const
{
    switch (kind) {
    case Kind::Failed:
        return message;
    case Kind::Permission:
    case Kind::PermissionNeedsRelaunch:
        return QStringLiteral("Allow Dropwell to capture the screen in your desktop's settings, then try again.");
    case Kind::NoDisplay:
        return QStringLiteral("Couldn't find a display to capture.");
    case Kind::AwaitingPermission:
    case Kind::Cancelled:
        return {};
    }
    return message;
}
