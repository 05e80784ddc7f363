#include "core/RetryBackoff.h"

#include <algorithm>

bool RetryBackoff::mayTry(const QUuid& id, const QDateTime& now) const
{
    const auto found = waits_.constFind(id);
    return found == waits_.constEnd() || found->next <= now;
}

void RetryBackoff::failed(const QUuid& id, const QDateTime& now)
{
    Wait& wait = waits_[id];
    wait.seconds = wait.seconds == 0 ? firstWaitSeconds : std::min(wait.seconds * 2, longestWaitSeconds);
    wait.next = now.addSecs(wait.seconds);
}
