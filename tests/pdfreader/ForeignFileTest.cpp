// Files of other producers, made at test time from one of ours with the
// installed tools: each is either read or refused with the reader's own
// message, never anything worse.
#include "ReaderTestSupport.h"

#include "support/Files.h"
#include "support/Processes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <regex>

using namespace pdftest;
using testsupport::shellQuote;

namespace {

namespace fs = std::filesystem;

constexpr std::size_t kOurItems = 40 + 20;

// A message of the reader: it names the fault ("PDF ... ERROR", "Pages Error
// ...", "JPEG ... ERROR") and, where it gives a byte position, ends with it
// as 8 or more upper-case hexadecimal digits.
bool isReaderMessage(const std::string &text)
{
    static const std::regex form("(PDF|JPEG|Pages) [^\\n]*(ERROR|Error)[^\\n]*");
    static const std::regex position(".*[Aa]ddress ?: ?[0-9A-F]{8,}");
    if (!std::regex_match(text, form)) {
        return false;
    }
    return text.find("ddress") == std::string::npos || std::regex_match(text, position);
}

class ForeignFiles : public testing::Test {
protected:
    void SetUp() override
    {
        std::vector<std::vector<TextObject>> pages{planLikePage(1, 40), planLikePage(2, 20)};
        testsupport::writeFile(m_dir / "ours.pdf", planFile(pages).build());
    }

    // Runs `tool arguments ours.pdf foreign.pdf` and reads foreign.pdf.
    // Returns the reader's message, "(read)" on success.
    std::string convertAndRead(const std::string &tool, const std::string &arguments)
    {
        const fs::path out = m_dir / "foreign.pdf";
        fs::remove(out);
        const auto run = testsupport::runCommand(tool + " " + arguments + " " + shellQuote((m_dir / "ours.pdf").string()) +
                                                 " " + shellQuote(out.string()));
        // qpdf exits with 3 for warnings; the file is still written.
        if (!fs::exists(out))
            return "(tool failed: " + std::to_string(run.status) + ") " + run.err;
        m_lastItems = 0;
        try {
            auto reader = TPdfPage::openFile(out.string());
            m_lastItems = reader->itemCount();
            return "(read)";
        } catch (const EPdfReadError &e) {
            return e.what();
        }
    }

    testsupport::TempDir m_dir{"ovilant-reader"};
    std::size_t m_lastItems = 0;
};

TEST_F(ForeignFiles, QpdfObjectStreamsAreRefused)
{
    OVILANT_SKIP_WITHOUT("qpdf");
    // Objects inside object streams and a cross-reference stream: there is
    // no classic table for the reader to follow.
    const std::string result = convertAndRead("qpdf", "--object-streams=generate");
    EXPECT_TRUE(isReaderMessage(result)) << result;
    RecordProperty("message", result);
}
// Each rewritten file is refused with a message of the reader or read. The
// reader takes no compressed content (a plan file has none): a file read with
// compressed streams gives no text items, one with plain streams all of ours.
TEST_F(ForeignFiles, QpdfRewrittenFilesAreRefusedOrReadCompletely)
{
    OVILANT_SKIP_WITHOUT("qpdf");
    const struct {
        const char *arguments;
        bool compressed;
    } variants[] = {{"--compress-streams=y --object-streams=disable", true},
                    {"--linearize", true},
                    {"--linearize --object-streams=disable", true},
                    {"--object-streams=disable", true},
                    {"--compress-streams=n --object-streams=disable", false},
                    {"--qdf --object-streams=disable", false}};
    for (const auto &variant : variants) {
        const std::string result = convertAndRead("qpdf", variant.arguments);
        std::cout << "[ qpdf " << variant.arguments << " ] " << result << ", " << m_lastItems << " items\n";
        if (result == "(read)") {
            EXPECT_EQ(m_lastItems, variant.compressed ? 0 : kOurItems) << variant.arguments;
        } else {
            EXPECT_TRUE(isReaderMessage(result)) << variant.arguments << ": " << result;
        }
    }
}

TEST_F(ForeignFiles, PdftocairoOutputIsRefusedOrRead)
{
    OVILANT_SKIP_WITHOUT("pdftocairo");
    const std::string result = convertAndRead("pdftocairo", "-pdf");
    std::cout << "[ pdftocairo ] " << result << ", " << m_lastItems << " items\n";
    EXPECT_TRUE(result == "(read)" || isReaderMessage(result)) << result;
}

} // namespace
