#pragma once

// The platform's own code-page-932 tables, behind the conversions of
// Cp932.h: iconv's CP932 on POSIX systems (Cp932Iconv.cpp), the system's
// conversion functions on Windows (Cp932Win.cpp). Both give the same result
// for every byte sequence and every character.

#include <cstddef>
#include <string>

namespace cp932::codec {

// Appends the CP932 bytes of `cp` (not ASCII, not a surrogate, at most
// U+10FFFF) to `out`; false, with `out` unchanged, when CP932 has none.
bool encode(char32_t cp, std::string &out);

// The character of the one or two bytes at `bytes` (`length` 1 or 2); false
// when they are not a CP932 character.
bool decode(const char *bytes, std::size_t length, char32_t &cp);

} // namespace cp932::codec
