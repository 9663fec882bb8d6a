#pragma once

#include <ostream>
#include <string>
#include <vector>

namespace pdftest {

// One entry of the bad-file catalogue: a file the reader must refuse and
// the exact message (CP932 bytes) it refuses it with.
struct BadFile {
    std::string name; // NN-what, also the file name in tests/data/bad
    std::string bytes;
    std::string message;
};

std::vector<BadFile> badFiles();

// Test output names the file only, not its bytes.
inline void PrintTo(const BadFile &bad, std::ostream *out) { *out << bad.name; }

} // namespace pdftest
