#pragma once

// Writing a file so that it is never left half-written: the bytes go into a
// new temporary file in the target's folder, which is renamed over the
// target only once everything has been written and closed. On any failure
// the temporary file is removed and the target keeps its old content (or
// stays absent).

#include "pdfwriter/PdfError.h"

#include <string>
#include <string_view>

// The file could not be created, written or put in place. what() names the
// file and the reason. Derived from the writer's base, so that a save catches
// one type for every failure.
class EFCreateError : public EPdfError {
public:
    using EPdfError::EPdfError;
};

// Replaces (or creates) the file at `path` with `bytes`. `path` is a native
// path of this platform. Raises EFCreateError.
void ReplaceFile(const std::string &path, std::string_view bytes);
