// Replays the fuzzer's committed corpus through the fuzzer's own entry
// function under the sanitizers of the normal test build: every input must
// be read or refused with the reader's exception.
#include "FuzzEntry.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

namespace {

TEST(FuzzCorpus, EveryInputIsReadOrRefused)
{
    std::size_t count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(OVILANT_FUZZ_CORPUS_DIR)) {
        if (!entry.is_regular_file())
            continue;
        std::ifstream in(entry.path(), std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        const std::string data = bytes.str();
        SCOPED_TRACE(entry.path().string());
        EXPECT_NO_THROW(pdfReaderFuzzOne(reinterpret_cast<const std::uint8_t *>(data.data()), data.size()));
        ++count;
    }
    EXPECT_GE(count, 5u) << "the corpus should not be empty";
}

} // namespace
