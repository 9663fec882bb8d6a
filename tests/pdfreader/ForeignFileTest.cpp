// Files of other producers, made at test time from one of ours with the
// installed tools: each is either read or refused with the reader's own
// message, never anything worse.
#include "ReaderTestSupport.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>

using namespace pdftest;

namespace {

namespace fs = std::filesystem;

bool haveTool(const std::string &tool)
{
    return std::system(("command -v " + tool + " >/dev/null 2>&1").c_str()) == 0;
}

class ForeignFiles : public testing::Test {
protected:
    void SetUp() override
    {
        m_dir = fs::temp_directory_path() / ("ovilant-reader-" + std::to_string(::testing::UnitTest::GetInstance()->random_seed())
                                             + "-" + testing::UnitTest::GetInstance()->current_test_info()->name());
        fs::create_directories(m_dir);
        std::vector<std::vector<TextObject>> pages{planLikePage(1, 40), planLikePage(2, 20)};
        std::ofstream(m_dir / "ours.pdf", std::ios::binary) << planFile(pages).build();
    }
    void TearDown() override { fs::remove_all(m_dir); }

    // Runs `command` (with IN and OUT replaced by paths) and reads OUT.
    // Returns the reader's message, "(read)" on success.
    std::string convertAndRead(const std::string &tool, const std::string &arguments)
    {
        const fs::path out = m_dir / "foreign.pdf";
        const std::string command = tool + " " + arguments + " '" + (m_dir / "ours.pdf").string() + "' '" + out.string()
            + "' >/dev/null 2>&1";
        const int status = std::system(command.c_str());
        // qpdf exits with 3 for warnings; the file is still written.
        if (!fs::exists(out))
            return "(tool failed: " + std::to_string(status) + ")";
        try {
            auto reader = TPdfPage::openFile(out.string());
            m_lastItems = reader->itemCount();
            return "(read)";
        } catch (const EPdfReadError &e) {
            return e.what();
        }
    }

    fs::path m_dir;
    std::size_t m_lastItems = 0;
};

TEST_F(ForeignFiles, QpdfObjectStreamsAreRefused)
{
    if (!haveTool("qpdf"))
        GTEST_SKIP() << "qpdf not installed";
    // Objects inside object streams and a cross-reference stream: there is
    // no classic table for the reader to follow.
    const std::string result = convertAndRead("qpdf", "--object-streams=generate");
    EXPECT_NE(result, "(read)");
    EXPECT_EQ(result.rfind("(tool failed", 0), std::string::npos) << result;
    RecordProperty("message", result);
}

TEST_F(ForeignFiles, QpdfCompressedAndLinearizedFilesNeverCrash)
{
    if (!haveTool("qpdf"))
        GTEST_SKIP() << "qpdf not installed";
    for (const char *arguments : {"--compress-streams=y --object-streams=disable", "--linearize",
                                  "--linearize --object-streams=disable", "--qdf --object-streams=disable",
                                  "--object-streams=disable"}) {
        const std::string result = convertAndRead("qpdf", arguments);
        EXPECT_EQ(result.rfind("(tool failed", 0), std::string::npos) << arguments << ": " << result;
        // Refused with a message of the reader, or read; a compressed
        // content stream reads without usable items.
        EXPECT_FALSE(result.empty()) << arguments;
        std::cout << "[ qpdf " << arguments << " ] " << result << "\n";
    }
}

TEST_F(ForeignFiles, PdftocairoOutputIsRefusedOrRead)
{
    if (!haveTool("pdftocairo"))
        GTEST_SKIP() << "pdftocairo not installed";
    const std::string result = convertAndRead("pdftocairo", "-pdf");
    EXPECT_EQ(result.rfind("(tool failed", 0), std::string::npos) << result;
    std::cout << "[ pdftocairo ] " << result << "\n";
}

} // namespace
