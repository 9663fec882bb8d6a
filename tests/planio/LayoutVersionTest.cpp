// Layout versions: a field added in a layout of its own, one version after
// the newest (tests/data/layouts/next, generated for this test as a new
// version would be) is carried by the new
// version's files, while every file of layout 1 (the golden file of each
// released layout included) still reads back sound with every field, and a
// build that does not know a file's layout says so instead of calling the
// file damaged.

#include "FullPlan.h"
#include "planfile/PlanFieldValue.h"
#include "planfile/PlanLayouts.h"
#include "planio/PlanRead.h"
#include "planio/PlanSave.h"
#include "planio/ReadBackCheck.h"

#include "plan/Cp932.h"
#include "support/Files.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace testlayout2 {
const planfile::PlanLayout &layout();
}

namespace {

constexpr TDateTime kTime = 46000.5;

// This build's layouts and the test's own next version.
const planfile::LayoutCatalog &withNextVersion()
{
    static const planfile::LayoutCatalog catalog = [] {
        std::vector<const planfile::PlanLayout *> layouts;
        for (int v = 1; const planfile::PlanLayout *layout = planfile::builtInLayouts().find(v); ++v) {
            layouts.push_back(layout);
        }
        layouts.push_back(&testlayout2::layout());
        return planfile::LayoutCatalog(std::move(layouts));
    }();
    return catalog;
}

TPRACTDATA planWithNote()
{
    TPRACTDATA plan = fullPlan();
    plan.SupportNotes = cp932::fromUtf8("送迎時に段差介助");
    return plan;
}

// Every field of `layout` holds in `read` what `plan` holds.
void expectEveryField(const planfile::PlanLayout &layout, const TPRACTDATA &plan, const TPRACTDATA &read)
{
    for (const planfile::PlanField &field : layout.fields) {
        EXPECT_EQ(planfile::printedText(read, field), planfile::printedText(plan, field)) << field.key;
    }
}

TEST(LayoutVersion, TheNewVersionsFilesCarryTheFieldAndReadBackSound)
{
    const planfile::PlanLayout &next = testlayout2::layout();
    ASSERT_EQ(next.version, static_cast<int>(planfile::kNewestLayoutVersion) + 1);
    const planio::PlanFileRead read =
        planio::loadPlanBytes(MakePlanPdf(planWithNote(), "creator", kTime, next), withNextVersion());
    ASSERT_EQ(read.layout, &next);
    EXPECT_EQ(read.printed.Plan.SupportNotes, planWithNote().SupportNotes);
    expectEveryField(next, planWithNote(), read.printed.Plan);
    EXPECT_FALSE(planio::findDifference(read)) << "a file of the new layout is sound";
}

std::string goldenPath(int version)
{
    return std::string(OVILANT_TEST_DATA_DIR) + "/golden/layout-" + std::to_string(version) + ".pdf";
}

// The golden file of the newest layout is what this build writes for the
// full plan, byte for byte (OVILANT_UPDATE_GOLDEN=1 writes it anew, as
// tests/tools/update-golden.sh does; the files of older layouts are never
// written again).
TEST(LayoutVersion, TheNewestLayoutWritesItsGoldenFile)
{
    const std::string written = MakePlanPdf(fullPlan(), "creator", kTime);
    const std::string path = goldenPath(planfile::kNewestLayoutVersion);
    if (std::getenv("OVILANT_UPDATE_GOLDEN") != nullptr) {
        testsupport::writeFile(path, written);
    }
    EXPECT_EQ(written, testsupport::readFile(path)) << path;
}

TEST(LayoutVersion, FilesOfEveryEarlierLayoutStaySound)
{
    // What this build writes, and the golden file each released layout left.
    std::vector<std::pair<std::string, std::string>> files = {
        {"written now", MakePlanPdf(fullPlan(), "creator", kTime)}};
    for (int v = 1; v <= planfile::kNewestLayoutVersion; ++v) {
        files.emplace_back(goldenPath(v), testsupport::readFile(goldenPath(v)));
        ASSERT_FALSE(files.back().second.empty()) << goldenPath(v);
    }
    for (const auto &[name, bytes] : files) {
        const planio::PlanFileRead read = planio::loadPlanBytes(bytes, withNextVersion());
        ASSERT_NE(read.layout, &testlayout2::layout()) << name;
        EXPECT_FALSE(planio::findDifference(read)) << name << " reads back sound";
        expectEveryField(*read.layout, fullPlan(), read.printed.Plan);
        if (read.layout->field("SupportNotes") == nullptr) {
            EXPECT_TRUE(read.printed.Plan.SupportNotes.empty()) << name << ": the field its layout lacks stays empty";
        }
    }
}

TEST(LayoutVersion, AFileOfAnUnknownLayoutIsRefusedAsNewerNotDamaged)
{
    const std::string newer = MakePlanPdf(planWithNote(), "creator", kTime, testlayout2::layout());
    EXPECT_THROW(
        {
            try {
                planio::loadPlanBytes(newer);
            } catch (const planio::NewerLayoutFile &e) {
                EXPECT_EQ(e.what(), std::string(planfile::kNewerLayoutMessage));
                throw;
            }
        },
        planio::NewerLayoutFile);

    const std::filesystem::path path = std::filesystem::temp_directory_path() / "ovilant-layout-newer.pdf";
    testsupport::writeFile(path.string(), newer);
    const auto result = planio::readPlanFile(path);
    std::filesystem::remove(path);
    const auto *fault = std::get_if<planio::ReadFault>(&result);
    ASSERT_NE(fault, nullptr);
    EXPECT_TRUE(fault->newerLayout);
    EXPECT_FALSE(fault->notAPlan);
}

TEST(LayoutVersion, KeywordsNameTheLayout)
{
    for (const auto &[keywords, version] : std::vector<std::pair<std::string, int>>{
             {"", 1}, {"  ", 1}, {"other words", 1}, {"OvilantLayout 2", 2}, {" OvilantLayout 17 ", 17},
             {"OvilantLayout 1", 1}, {"OvilantLayout x", 0}, {"OvilantLayout 0", 0},
             {"OvilantLayout 99999999999999999999", 0}}) {
        EXPECT_EQ(planfile::markedLayout(keywords), version) << keywords;
    }
    for (int v : {1, 2, 17}) {
        EXPECT_EQ(planfile::markedLayout(planfile::layoutMark(v)), v);
    }
    EXPECT_EQ(planfile::layoutMark(1), "") << "layout 1 files carry no mark, as they always have";
}

} // namespace
