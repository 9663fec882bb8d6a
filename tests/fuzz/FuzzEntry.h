#pragma once

#include <cstddef>
#include <cstdint>

// Runs the whole reader over one input: open, every page record, every text
// item, every field lookup, every image range. The reader's own exception is
// the expected way to refuse an input and is swallowed; anything else
// (another exception, a sanitizer report, a crash) is a fault.
int pdfReaderFuzzOne(const std::uint8_t *data, std::size_t size);
