#pragma once

#include <cstddef>
#include <cstdint>

// Runs the whole reader over one input: open, every page record, every text
// item, every image range. The reader's own exception is
// the expected way to refuse an input and is swallowed; anything else
// (another exception, a sanitizer report, a crash) is a fault.
int pdfReaderFuzzOne(const std::uint8_t *data, std::size_t size);

// The open command's path over one input as a file's bytes: open, the
// markers, selecting every page (image headers), every page's picture
// decoded, and the check that the plan read back prints what the file
// holds. The reader's exception refuses an input; anything else is a fault.
int openPathFuzzOne(const std::uint8_t *data, std::size_t size);

// `ovilant-plan render`'s reading of a JSON plan: the strict parse, the
// plan's checks and, for a plan that passes them, its JSON form again.
int planJsonFuzzOne(const std::uint8_t *data, std::size_t size);
