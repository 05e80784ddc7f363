// settings.json as anyone may have written it.
#include "core/StoredJson.h"
#include "fuzz/FuzzSupport.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    checkRoundTrip(data, size, StoredJson::decodeSettings, StoredJson::encodeSettings);
    return 0;
}
