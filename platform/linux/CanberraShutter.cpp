#include "platform/linux/CanberraShutter.h"

#include <canberra.h>

namespace {

constexpr uint32_t shutterId = 1;

} // namespace

CanberraShutter::CanberraShutter()
{
    if (ca_context_create(&context_) != CA_SUCCESS)
        context_ = nullptr;
    else
        ca_context_change_props(context_, CA_PROP_APPLICATION_NAME, "Dropwell", CA_PROP_APPLICATION_ID, "org.dropwell.Dropwell", nullptr);
}

CanberraShutter::~CanberraShutter()
{
    if (context_)
        ca_context_destroy(context_);
}

void CanberraShutter::play()
{
    if (!context_)
        return;
    ca_context_cancel(context_, shutterId);
    // No sound server, or sounds switched off: the capture goes on in silence.
    ca_context_play(context_, shutterId, CA_PROP_EVENT_ID, "camera-shutter", CA_PROP_EVENT_DESCRIPTION,
        "Screenshot taken", nullptr);
}
