#pragma once

// Writing a file so that it is never left half-written: the bytes go into a
// new temporary file in the target's folder, which is renamed over the
// target only once everything has been written and closed. On any failure
// the temporary file is removed and the target keeps its old content (or
// stays absent).

#include <stdexcept>
#include <string>
#include <string_view>

// The file could not be created, written or put in place. what() names the
// file and the reason.
class EFCreateError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Replaces (or creates) the file at `path` with `bytes`. `path` is a native
// path of this platform. Raises EFCreateError.
void ReplaceFile(const std::string &path, std::string_view bytes);
