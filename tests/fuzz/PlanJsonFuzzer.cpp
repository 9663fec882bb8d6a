// libFuzzer target over the reading of a JSON plan.
#include "FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    planJsonFuzzOne(data, size);
    return 0;
}
