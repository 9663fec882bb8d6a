// libFuzzer target over the whole reader.
#include "FuzzEntry.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *data, std::size_t size)
{
    pdfReaderFuzzOne(data, size);
    return 0;
}
