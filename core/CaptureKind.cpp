#include "core/CaptureKind.h"

std::optional<CaptureKind> captureKindNamed(const QString& name)
{
    if (name == QStringLiteral("visible"))
        return CaptureKind::Visible;
    if (name == QStringLiteral("region"))
        return CaptureKind::Region;
    if (name == QStringLiteral("window"))
        return CaptureKind::Window;
    if (name == QStringLiteral("page"))
        return CaptureKind::Page;
    return std::nullopt;
}
