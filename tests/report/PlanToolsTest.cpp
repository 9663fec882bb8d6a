// A full plan file read by real PDF tools: qpdf finds no structural fault,
// and pdftotext finds the patient's name, both dates and the team.

#include "FullPlan.h"
#include "report/PlanPdf.h"

#include "plan/Common.h"
#include "plan/Cp932.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>

namespace fs = std::filesystem;

namespace {

struct Output {
    int status = -1;
    std::string text;
};

Output runCommand(const std::string &command)
{
    Output out;
    std::FILE *pipe = popen((command + " 2>&1").c_str(), "r");
    if (pipe == nullptr) {
        return out;
    }
    std::array<char, 4096> buffer{};
    std::size_t n = 0;
    while ((n = std::fread(buffer.data(), 1, buffer.size(), pipe)) > 0) {
        out.text.append(buffer.data(), n);
    }
    out.status = pclose(pipe);
    return out;
}

class PlanToolsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        m_path = fs::temp_directory_path() / ("ovilant-tools-" + std::to_string(std::random_device{}()) + ".pdf");
        const TDateTime t = encodeDateTime(2024, 1, 31, 14, 5, 9);
        SavePlanPdf(m_path.string(), fullPlan(), PlanCreatorText(t), t);
    }
    void TearDown() override { fs::remove(m_path); }
    fs::path m_path;
};

TEST_F(PlanToolsTest, QpdfFindsNoFault)
{
    const Output out = runCommand("qpdf --check '" + m_path.string() + "'");
    EXPECT_EQ(out.status, 0) << out.text;
    EXPECT_NE(out.text.find("No syntax or stream encoding errors found"), std::string::npos) << out.text;
    EXPECT_EQ(out.text.find("WARNING"), std::string::npos) << out.text;
}

TEST_F(PlanToolsTest, PdftotextFindsNameDatesAndTeam)
{
    const Output out = runCommand("pdftotext -enc UTF-8 '" + m_path.string() + "' -");
    ASSERT_EQ(out.status, 0) << out.text;
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
    for (const std::string &text : expected) {
        EXPECT_NE(out.text.find(text), std::string::npos) << text << " not found in:\n" << out.text;
    }
    const std::string info = runCommand("pdfinfo '" + m_path.string() + "'").text;
    EXPECT_NE(info.find("Pages:           2"), std::string::npos) << info;
    EXPECT_NE(info.find("ＲＩＨＡ"), std::string::npos) << info;
}

} // namespace
