// `ovilant-plan print`, run as a separate process without a display: --to
// writes one print-ready PDF, two A4 pages per plan, with every font
// embedded and the text readable (the name's half-width space included); a
// file that is not a plan, or that the reader refuses, prints nothing.

#include "FullPlan.h"

#include "pdfwriter/PdfDoc.h"
#include "plan/Cp932.h"
#include "planio/PlanSave.h"

#include "support/Files.h"
#include "support/Processes.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

namespace fs = std::filesystem;
using testsupport::runCommand;
using testsupport::shellQuote;

namespace {

// The tool without a display, as on a server or in CI.
testsupport::RunResult print(const std::string &arguments)
{
    return runCommand("env -u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM " + shellQuote(OVILANT_PLAN_TOOL) +
                      " print " + arguments);
}

void writePlan(const fs::path &path, const char *name)
{
    TPRACTDATA plan = fullPlan();
    plan.Name = cp932::fromUtf8(name);
    testsupport::writeFile(path, MakePlanPdf(plan, PlanCreatorText(plan.PlanDate), plan.PlanDate));
}

} // namespace

TEST(PrintCommand, ToWritesOnePrintReadyPdfWithEmbeddedFonts)
{
    OVILANT_SKIP_WITHOUT("pdfinfo", "pdffonts", "pdftotext");
    testsupport::TempDir dir("ovilant-print");
    writePlan(dir / "a.pdf", "山田 太郎");
    writePlan(dir / "b.pdf", "佐藤 花子");
    const fs::path out = dir / "out.pdf";

    const auto result = print(shellQuote((dir / "a.pdf").string()) + " " + shellQuote((dir / "b.pdf").string()) +
                              " --to " + shellQuote(out.string()));
    ASSERT_EQ(result.status, 0) << result.err;

    const auto info = runCommand("pdfinfo " + shellQuote(out.string()));
    EXPECT_NE(info.out.find("Pages:           4\n"), std::string::npos) << info.out;
    EXPECT_NE(info.out.find("(A4)"), std::string::npos) << info.out;

    // pdffonts: two header lines, then one line per font whose "emb" column
    // (the fifth word from the end) says yes.
    const auto fonts = runCommand("pdffonts " + shellQuote(out.string()));
    std::istringstream lines(fonts.out);
    std::string line;
    int fontLines = 0;
    for (int i = 0; std::getline(lines, line); ++i) {
        if (i < 2 || line.empty()) {
            continue;
        }
        ++fontLines;
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) {
            w.push_back(word);
        }
        ASSERT_GE(w.size(), 5u) << line;
        EXPECT_EQ(w[w.size() - 5], "yes") << "not embedded: " << line;
    }
    EXPECT_GT(fontLines, 0) << fonts.out;

    const auto text = runCommand("pdftotext -layout " + shellQuote(out.string()) + " -");
    EXPECT_NE(text.out.find("山田 太郎"), std::string::npos) << text.out.substr(0, 400);
    EXPECT_NE(text.out.find("佐藤 花子"), std::string::npos);
    EXPECT_NE(text.out.find("リハビリテーション実施計画書"), std::string::npos);
}

TEST(PrintCommand, AFileThatIsNotAPlanPrintsNothing)
{
#ifdef _WIN32
    GTEST_SKIP() << "the tool is run through a POSIX shell";
#endif
    testsupport::TempDir dir("ovilant-print");
    writePlan(dir / "a.pdf", "山田 太郎");
    TPdfDoc doc;
    doc.NewDoc();
    doc.AddPage();
    testsupport::writeFile(dir / "letter.pdf", doc.SaveToString());
    const fs::path out = dir / "out.pdf";

    auto result = print(shellQuote((dir / "a.pdf").string()) + " " + shellQuote((dir / "letter.pdf").string()) +
                        " --to " + shellQuote(out.string()));
    EXPECT_EQ(result.status, 1);
    EXPECT_EQ(result.err.rfind("ovilant-plan: ", 0), 0u) << "ovilant-print speaks as ovilant-plan: " << result.err;
    EXPECT_NE(result.err.find("このＰＤＦファイルはリハビリ実施計画書ではありません。"), std::string::npos)
        << result.err;
    EXPECT_FALSE(fs::exists(out));

    result = print(shellQuote((dir / "none.pdf").string()) + " --to " + shellQuote(out.string()));
    EXPECT_EQ(result.status, 1);
    EXPECT_NE(result.err.find("none.pdf"), std::string::npos) << result.err;
    EXPECT_FALSE(fs::exists(out));

    EXPECT_EQ(print("").status, 2);
    EXPECT_EQ(print("a.pdf --to x.pdf --printer P").status, 2);
}
