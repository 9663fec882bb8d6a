// Reading a file for some fields only, as the folder index does: every file
// is refused as the whole read refuses it, and the fields asked for read as
// the whole read has them.

#include "planio/PlanRead.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>

namespace {

TEST(PlanFields, ReadLikeTheWholeFile)
{
    std::vector<std::string> keys = {
        "PlanDate", "Name", "Sex", "BirthDate", "KaigoLevel", "Team[13]", "ActivityItems[0].Goods"};
    const std::vector<std::string_view> views(keys.begin(), keys.end());
    const planio::PlanFields fields(views);
    const std::vector<TTextWindow> &windows = fields.windows();
    ASSERT_EQ(windows.size(), keys.size()) << "one window for each field of the one layout";

    std::size_t plans = 0;
    for (const char *folder :
         {OVILANT_OPEN_CORPUS_DIR, OVILANT_TEST_DATA_DIR "/bad", OVILANT_TEST_DATA_DIR "/golden"}) {
        for (const auto &entry : std::filesystem::directory_iterator(folder)) {
            SCOPED_TRACE(entry.path().string());
            const auto whole = planio::readPlanFile(entry.path());
            const auto some = planio::readPlanFile(entry.path(), fields);
            ASSERT_EQ(whole.index(), some.index());
            if (const auto *fault = std::get_if<planio::ReadFault>(&whole)) {
                EXPECT_EQ(std::get<planio::ReadFault>(some).text, fault->text);
                continue;
            }
            ++plans;
            const planio::PlanFileRead &all = std::get<planio::PlanFileRead>(whole);
            const planio::PlanFileRead &part = std::get<planio::PlanFileRead>(some);
            EXPECT_EQ(part.itemsSeen, all.items.size());
            std::size_t inWindows = 0;
            for (const TTextItem &item : all.items) {
                const auto x = item.x / CurrencyScale;
                const auto y = item.y / CurrencyScale;
                inWindows += std::any_of(windows.begin(), windows.end(), [&](const TTextWindow &w) {
                    return w.page == item.page && x >= w.left && x <= w.right && y >= w.bottom && y <= w.top;
                });
            }
            EXPECT_EQ(part.items.size(), inWindows);
            for (const std::string &key : keys) {
                const planfile::PlanField *field = all.layout->field(key);
                ASSERT_NE(field, nullptr) << key;
                const auto at = static_cast<std::size_t>(field->index);
                EXPECT_EQ(part.printed.FirstLines[at], all.printed.FirstLines[at]) << key;
            }
            EXPECT_EQ(part.printed.Plan.Kenkou, "") << "a field not asked for is not decoded";
        }
    }
    EXPECT_GE(plans, 2u) << "some files should read as plans";
}

} // namespace
