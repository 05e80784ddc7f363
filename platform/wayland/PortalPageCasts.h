#pragma once

#include "platform/PageCast.h"

#include <QDBusConnection>

// Page casts through the RemoteDesktop portal, whose session also carries a
// ScreenCast portal's cast: one dialog of the desktop's picks the window
// and allows the pointer. Whether the desktop has that portal is asked when
// a page is captured, not when Dropwell starts.
class PortalPageCasts final : public PageCasts {
public:
    explicit PortalPageCasts(QDBusConnection bus);

    QCoro::Task<StatusOr<std::unique_ptr<PageCast>>> open() override;

private:
    QDBusConnection bus_;
};
