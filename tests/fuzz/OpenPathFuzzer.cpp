// libFuzzer target over the open command's path (reader, page images and
// the read-back check).
#include "FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    openPathFuzzOne(data, size);
    return 0;
}
