#pragma once

#include "platform/Notifier.h"

// The notification that follows an expiry pass that moved files.
namespace ExpiryNotify {

// "2 files expired. 1 more expires soon."
QString body(int expired, int soon);

// Title "Dropwell", the body above, and an identifier of its own.
Notification summary(int expired, int soon);

} // namespace ExpiryNotify
