#pragma once

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

} // namespace pdftest
