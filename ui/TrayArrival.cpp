#include "ui/TrayArrival.h"

#include "platform/TrayHost.h"

#include <algorithm>
#include <utility>

TrayArrival::TrayArrival(std::vector<TrayHost*> hosts, QObject* parent) : QObject(parent), hosts_(std::move(hosts)) {}

void TrayArrival::begin()
{
    waiting_ = true;
    for (TrayHost* host : hosts_)
        connect(host, &TrayHost::appeared, this, &TrayArrival::check, Qt::UniqueConnection);
    check();
}

void TrayArrival::waitOver()
{
    if (!std::exchange(waiting_, false))
        return; // never began, or a tray came first
    Q_EMIT fallbackDue();
}

void TrayArrival::check()
{
    if (arrived_ || !std::ranges::any_of(hosts_, [](const TrayHost* host) { return host->isPresent(); }))
        return;
    arrived_ = true;
    waiting_ = false;
    for (TrayHost* host : hosts_)
        disconnect(host, nullptr, this, nullptr);
    Q_EMIT arrived();
}
