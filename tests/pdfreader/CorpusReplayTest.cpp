// Replays the fuzzer's committed corpus through the fuzzer's own entry
// function under the sanitizers of the normal test build: every input must
// be read or refused with the reader's exception.
#include "FuzzEntry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

// Runs every file of a corpus folder through a fuzzer's entry function;
// returns how many there were.
std::size_t replay(const char *folder, int (*one)(const std::uint8_t *, std::size_t))
{
    std::size_t count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(folder)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        const std::string data = bytes.str();
        SCOPED_TRACE(entry.path().string());
        EXPECT_NO_THROW(one(reinterpret_cast<const std::uint8_t *>(data.data()), data.size()));
        ++count;
    }
    return count;
}

TEST(FuzzCorpus, EveryInputIsReadOrRefused)
{
    EXPECT_GE(replay(OVILANT_FUZZ_CORPUS_DIR, pdfReaderFuzzOne), 5u) << "the corpus should not be empty";
}

} // namespace
