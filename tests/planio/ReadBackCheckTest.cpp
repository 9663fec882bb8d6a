// The read-back check: what a save writes reads back as sound, texts cut at
// a blank or before a blank line included; any change to a fixed text, a
// moved text object and a plan a save would refuse are found out.

#include "planio/ReadBackCheck.h"

#include "FullPlan.h"
#include "planio/LayoutForm.h"
#include "planio/PlanItems.h"
#include "planio/PlanSave.h"
#include "plan/Common.h"
#include "plan/Cp932.h"
#include "planfile/PlanFieldValue.h"
#include "report/PrintFormatUnit.h"

#include <gtest/gtest.h>

#include <algorithm>

namespace {

planio::PlanFileRead readBack(const TPRACTDATA &plan)
{
    return planio::loadPlanBytes(MakePlanPdf(plan, "c", encodeDate(2024, 1, 31)));
}

std::string flagged(const planio::PlanFileRead &read)
{
    const auto difference = planio::findDifference(read);
    return difference ? "at " + difference->itemName : std::string();
}

TEST(ReadBackCheck, TextsCutAtABlankOrBeforeABlankLineReadBackSound)
{
    const std::vector<std::pair<const char *, const char *>> cases = {
        {"SonotaText", "a\r\n\r\nb"},
        {"SonotaText", "a\r\n \r\nb"},
        {"ActivityItems[0].Goods", "aaaaaaaaaaaa a"},
        {"Name", "山田　太郎左衛門之助 様"}, // the page-2 header shows more of it than the name field
        {"PTOTST0Text", "ああああああああ\r\n\r\nい い い い い い い い い い い い い"},
    };
    for (const auto &[key, text] : cases) {
        TPRACTDATA plan = fullPlan();
        planfile::setFieldText(plan, *planfile::fieldByKey(key), cp932::fromUtf8(text));
        EXPECT_EQ(flagged(readBack(plan)), "") << key << " " << text;
    }
}

// Every text object that holds no field (captions, the page-2 header) with
// one character changed, or moved by half a unit.
TEST(ReadBackCheck, EveryChangeToAFixedTextIsFoundOut)
{
    const planio::PlanFileRead sound = readBack(fullPlan());
    TPrintFormatForm &form = planio::threadLayoutForm(planfile::currentLayout());
    form.PlanData = sound.printed.Plan;
    const std::vector<TPRTextObject> objects = form.RecordPages();
    ASSERT_EQ(objects.size(), sound.items.size());
    std::size_t changed = 0;
    for (std::size_t i = 0; i < objects.size(); ++i) {
        const std::string name = objects[i].Item->Name();
        const bool field = std::any_of(planfile::kPlanFields.begin(), planfile::kPlanFields.end(),
                                       [&](const planfile::PlanField &f) { return name == f.item; });
        if (field || sound.items[i].lines.empty() || sound.items[i].lines[0].empty()) {
            continue;
        }
        planio::PlanFileRead read = sound;
        std::string &line = read.items[i].lines[0];
        line.back() = static_cast<char>(line.back() ^ 1);
        EXPECT_EQ(flagged(read), "at " + name) << cp932::toUtf8(sound.items[i].lines[0]);
        read = sound;
        read.items[i].y += CurrencyScale / 2;
        EXPECT_EQ(flagged(read), "at " + name);
        ++changed;
    }
    EXPECT_GE(changed, 60u);
}

TEST(ReadBackCheck, APlanASaveWouldRefuseIsFoundOut)
{
    const planio::PlanFileRead sound = readBack(fullPlan());
    const std::vector<std::pair<const char *, std::string>> cases = {
        {"HDS", "99"},                        // prints as it reads, beyond the score's range
        {"ActivityItems[0].Goods", "a\x85\x40"}, // no character of code page 932
        {"Gapei", "ab\x03"},                 // a control character, one changed byte
        {"Kenkou", "a\tb"},
    };
    for (const auto &[key, text] : cases) {
        const planfile::PlanField &field = *planfile::fieldByKey(key);
        planio::PlanFileRead read = sound;
        const TTextItem *held = planio::itemsByField(sound.items)[static_cast<std::size_t>(field.index)];
        ASSERT_NE(held, nullptr) << key;
        read.items[static_cast<std::size_t>(held - sound.items.data())].lines = {text};
        read.printed = planio::decodeItems(read.items);
        EXPECT_EQ(flagged(read), std::string("at ") + field.item) << key;
    }
    EXPECT_EQ(flagged(sound), "");
}

} // namespace

// Damage that keeps every offset of the file: the bytes of a filled
// 到達時期 cell's text object (or of its string) blanked out, and a birth
// date changed so that it no longer gives the printed age. An empty cell
// prints nothing, so only the colour selection its object leaves behind, and
// the age the dates must give, show these.
TEST(ReadBackCheck, AnEmptiedCellAndABirthDateAtOddsWithTheAgeAreFoundOut)
{
    const std::string sound = MakePlanPdf(fullPlan(), "c", encodeDate(2024, 1, 31));
    const std::string time = "BT\n290 548.2 Td\n<" + std::string("318C8E") + "> Tj\nET";
    const std::size_t cell = sound.find(time);
    ASSERT_NE(cell, std::string::npos) << "the first row's target period";
    const std::size_t string = cell + time.find('<');
    const std::size_t birth = sound.find("BT\n283 799");
    ASSERT_NE(birth, std::string::npos) << "the birth date";
    // The era year's units digit, 25 to 23: two years older than the
    // printed age says.
    const std::size_t year = sound.find("3235", birth) + 2;
    const std::vector<std::tuple<const char *, std::size_t, std::string>> damages = {
        {"the whole object blanked", cell, std::string(time.size(), ' ')},
        {"its string and Tj blanked", string, std::string(std::string("<318C8E> Tj").size(), ' ')},
        {"its string emptied", string, "<>" + std::string(6, ' ')},
        {"a birth-date digit changed", year, "33"},
    };
    EXPECT_EQ(flagged(planio::loadPlanBytes(sound)), "");
    for (const auto &[what, at, bytes] : damages) {
        std::string damaged = sound;
        damaged.replace(at, bytes.size(), bytes);
        EXPECT_TRUE(planio::findDifference(planio::loadPlanBytes(damaged))) << what;
    }
}
