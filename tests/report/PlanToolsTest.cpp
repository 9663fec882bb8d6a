// A full plan file read by real PDF tools: qpdf finds no structural fault,
// and pdftotext finds the patient's name, both dates and the team.

#include "FormPdf.h"
#include "FullPlan.h"

#include "plan/Common.h"
#include "plan/Cp932.h"

#include "support/Files.h"
#include "support/Processes.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace fs = std::filesystem;
using testsupport::runCommand;
using testsupport::shellQuote;

namespace {

class PlanToolsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        const TDateTime t = encodeDateTime(2024, 1, 31, 14, 5, 9);
        testsupport::writeFile(m_path, formPdf(fullPlan(), cp932::fromUtf8("１４：０５：０９"), t));
    }
    testsupport::TempDir m_dir{"ovilant-tools"};
    const fs::path m_path = m_dir / "plan.pdf";
};

TEST_F(PlanToolsTest, QpdfFindsNoFault)
{
    OVILANT_SKIP_WITHOUT("qpdf");
    const auto run = runCommand("qpdf --check " + shellQuote(m_path.string()));
    const std::string text = run.out + run.err;
    EXPECT_EQ(run.status, 0) << text;
    EXPECT_NE(text.find("No syntax or stream encoding errors found"), std::string::npos) << text;
    EXPECT_EQ(text.find("WARNING"), std::string::npos) << text;
}

TEST_F(PlanToolsTest, PdftotextFindsNameDatesAndTeam)
{
    OVILANT_SKIP_WITHOUT("pdftotext", "pdfinfo");
    const auto run = runCommand("pdftotext -enc UTF-8 " + shellQuote(m_path.string()) + " -");
    ASSERT_EQ(run.status, 0) << run.err;
    const std::string &text = run.out;
    const TPRACTDATA plan = fullPlan();
    const std::vector<std::string> expected = {cp932::toUtf8(plan.Name),
                                               cp932::toUtf8(FormatEraDate(plan.PlanDate)),
                                               cp932::toUtf8(FormatEraDate(plan.BirthDate)),
                                               "担当2",
                                               "担当13",
                                               "医師",
                                               "要介護３",
                                               "女性",
                                               "リハビリテーション実施計画書（２）",
                                               "歩いて買い物に行きたい"};
    for (const std::string &expectedText : expected) {
        EXPECT_NE(text.find(expectedText), std::string::npos) << expectedText << " not found in:\n" << text;
    }
    const std::string info = runCommand("pdfinfo " + shellQuote(m_path.string())).out;
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    EXPECT_NE(info.find("ＲＩＨＡ"), std::string::npos) << info;
}

} // namespace
