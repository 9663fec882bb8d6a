// Replays the open-path fuzzer's committed corpus through its entry function
// under the sanitizers of the normal test build: open, every page's image,
// and for a plan file the read-back check. Every input must be read or
// refused with the reader's exception.
#include "FuzzEntry.h"

#include "support/Files.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace {

TEST(FuzzCorpus, EveryInputTakesTheOpenPath)
{
    std::size_t count = 0;
    for (const auto &entry : std::filesystem::directory_iterator(OVILANT_OPEN_CORPUS_DIR)) {
        const std::string data = testsupport::readFile(entry.path());
        SCOPED_TRACE(entry.path().string());
        EXPECT_NO_THROW(openPathFuzzOne(reinterpret_cast<const std::uint8_t *>(data.data()), data.size()));
        ++count;
    }
    EXPECT_GE(count, 4u) << "the corpus should not be empty";
}

} // namespace
