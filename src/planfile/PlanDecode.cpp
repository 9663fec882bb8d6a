#include "planfile/PlanDecode.h"

#include "plan/Common.h"
#include "plan/Marks.h"
#include "planfile/PlanCheck.h"
#include "planfile/PlanFieldTable.h"
#include "planfile/PlanFormat.h"

#include <limits>
#include <string_view>

namespace planfile {

namespace {

// Field indices of the single fields that are not plain texts.
constexpr int kPlanDateField = 0;
constexpr int kSexField = 2;
constexpr int kBirthField = 3;
constexpr int kAgeField = 4;
constexpr int kKaigoField = 5;
constexpr int kHdsField = 30;
constexpr int kTeamField = 234; // Team[n] is at 234 + n

// Where the cells of a table's rows are printed: marks at marks + 5 * k +
// column, the other cells at their first index + k, k counting the table's
// rows from 0.
struct TableFields {
    int marks;
    int goods;
    int kaigo;
    int time;
    int special;
};
constexpr TableFields kActivityFields{31, 96, 109, 122, 135};
constexpr TableFields kMotionFields{151, 191, 199, 207, 215};

class Decoder {
public:
    explicit Decoder(const FieldLines &lines) : m_lines(lines) {}

    PrintedPlan run()
    {
        PrintedPlan out;
        TPRACTDATA &p = out.Plan;

        out.PlanDateText = line1(kPlanDateField);
        out.HasPlanDate = ParseEraDate(out.PlanDateText, p.PlanDate);
        p.Name = line1(1);
        p.Sex = choiceIndex(kSexes, line1(kSexField));
        out.BirthText = line1(kBirthField);
        out.HasBirthDate = ParseEraDate(out.BirthText, p.BirthDate);
        out.AgeText = line1(kAgeField);
        out.HasAge = readNumber32(out.AgeText, p.Age);
        p.KaigoLevel = choiceIndex(kCareLevels, line1(kKaigoField));

        p.Kenkou = allLines(6);
        p.Gapei = allLines(7);
        p.Seikatsu = allLines(8);
        p.Home = tick(9);
        p.Etc = tick(10);
        p.EtcText = line1(11);
        p.Taiin = tick(12);
        p.HomeWork = line1(13);
        p.Social = line1(14);
        p.GoOut = line1(15);
        p.FreeTime = line1(16);
        p.TaiinText = line1(17);
        p.ExerciseFlag = tick(18);
        p.ExerciseText = line1(19);
        p.SenseFlag = tick(20);
        p.SenseText = line1(21);
        p.BrainFlag = tick(22);
        p.BrainText = line1(23);
        p.KoushukuFlag = tick(24);
        p.KoushukuText = line1(25);
        p.ArthralgiaFlag = tick(26);
        p.ArthralgiaText = line1(27);
        p.SonotaFlag = tick(28);
        p.SonotaText = allLines(29);
        out.HDSText = line1(kHdsField);
        out.HasHDS = readNumber32(out.HDSText, p.HDS);

        std::size_t rowIndex = 0;
        for (std::size_t k = 0; k < p.ActivityItems.size(); ++k) {
            row(kActivityFields, static_cast<int>(k), p.ActivityItems[k], out.PriorityTexts[rowIndex++]);
        }
        p.PTOTST0Text = allLines(148);
        p.Kango0Text = allLines(149);
        p.Jitchi0Text = allLines(150);
        for (std::size_t k = 0; k < p.MotionItems.size(); ++k) {
            row(kMotionFields, static_cast<int>(k), p.MotionItems[k], out.PriorityTexts[rowIndex++]);
        }
        p.PTOTST1Text = allLines(223);
        p.Kango1Text = allLines(224);
        p.Jitchi1Text = allLines(225);

        p.SelfHopeText = allLines(226);
        p.FarmilyHopeText = allLines(227);
        p.LifePointText = allLines(228);
        p.RihaTergetText = allLines(229);
        p.SelfDoText = allLines(230);
        p.AskFarmilyText = allLines(231);
        p.DiseseCareText = allLines(232);
        p.VariationText = allLines(233);
        p.RemarkText = allLines(234);
        for (int n = 1; n <= kTeamMembers; ++n) {
            p.Team[static_cast<std::size_t>(n)] = line1(kTeamField + n);
        }
        return out;
    }

private:
    const std::vector<std::string> *lines(int field) const { return m_lines(field); }

    // Line 1, or empty when nothing (or an object without lines) was printed.
    std::string line1(int field) const
    {
        const auto *l = lines(field);
        return l != nullptr && !l->empty() ? l->front() : std::string();
    }

    // Every line, empty ones included, joined as a memo joins them.
    std::string allLines(int field) const
    {
        std::string text;
        if (const auto *l = lines(field)) {
            for (std::size_t i = 0; i < l->size(); ++i) {
                if (i > 0) {
                    text += "\r\n";
                }
                text += (*l)[i];
            }
        }
        return text;
    }

    bool tick(int field) const { return line1(field) == kTick; }

    static bool readNumber32(std::string_view text, std::int32_t &out)
    {
        const auto value = readNumber(text);
        if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
            *value > std::numeric_limits<std::int32_t>::max()) {
            return false;
        }
        out = static_cast<std::int32_t>(*value);
        return true;
    }

    // Three marks print as two lines ("AB" over "C"): the first two lines
    // together are the cell's letters, as far as the cell can show them.
    std::string marks(int field) const
    {
        std::string letters;
        if (const auto *l = lines(field)) {
            for (std::size_t i = 0; i < l->size() && i < 2; ++i) {
                letters += (*l)[i];
            }
        }
        return MarkToHalfWidth(MarkToFullWidth(letters));
    }

    void row(const TableFields &fields, int k, TPRACTITEM &item, std::string &priorityText) const
    {
        for (int c = 0; c < 5; ++c) {
            item.ABC[static_cast<std::size_t>(c)] = marks(fields.marks + 5 * k + c);
        }
        item.Goods = allLines(fields.goods + k);
        item.Kaigo = allLines(fields.kaigo + k);
        item.Time = line1(fields.time + k);
        priorityText = line1(fields.special + k);
        const int mark = choiceIndex(kPriorityMarks, priorityText);
        item.Special = mark > 0 ? mark : 0;
    }

    const FieldLines &m_lines;
};

} // namespace

int inputField(PlanInputRef ref)
{
    const auto rowField = [&](int activityFirst, int motionFirst) {
        if (ref.number >= 0 && ref.number < kActivityRows) {
            return activityFirst + ref.number;
        }
        if (ref.number >= kMotionFirstRow && ref.number < kMotionFirstRow + kMotionRows) {
            return motionFirst + ref.number - kMotionFirstRow;
        }
        return -1;
    };
    switch (ref.input) {
    case PlanInput::Name: return 1;
    case PlanInput::Kenkou: return 6;
    case PlanInput::Gapei: return 7;
    case PlanInput::Seikatsu: return 8;
    case PlanInput::EtcText: return 11;
    case PlanInput::HomeWork: return 13;
    case PlanInput::Social: return 14;
    case PlanInput::GoOut: return 15;
    case PlanInput::FreeTime: return 16;
    case PlanInput::TaiinText: return 17;
    case PlanInput::ExerciseText: return 19;
    case PlanInput::SenseText: return 21;
    case PlanInput::BrainText: return 23;
    case PlanInput::KoushukuText: return 25;
    case PlanInput::ArthralgiaText: return 27;
    case PlanInput::SonotaText: return 29;
    case PlanInput::Goods: return rowField(kActivityFields.goods, kMotionFields.goods);
    case PlanInput::Kaigo: return rowField(kActivityFields.kaigo, kMotionFields.kaigo);
    case PlanInput::Time: return rowField(kActivityFields.time, kMotionFields.time);
    case PlanInput::PTOTST0Text: return 148;
    case PlanInput::Kango0Text: return 149;
    case PlanInput::Jitchi0Text: return 150;
    case PlanInput::PTOTST1Text: return 223;
    case PlanInput::Kango1Text: return 224;
    case PlanInput::Jitchi1Text: return 225;
    case PlanInput::SelfHopeText: return 226;
    case PlanInput::FarmilyHopeText: return 227;
    case PlanInput::LifePointText: return 228;
    case PlanInput::RihaTergetText: return 229;
    case PlanInput::SelfDoText: return 230;
    case PlanInput::AskFarmilyText: return 231;
    case PlanInput::DiseseCareText: return 232;
    case PlanInput::VariationText: return 233;
    case PlanInput::RemarkText: return 234;
    case PlanInput::Team: return ref.number >= 1 && ref.number <= kTeamMembers ? kTeamField + ref.number : -1;
    case PlanInput::BirthDate:
    case PlanInput::HDS:
        break;
    }
    return -1;
}

bool liesNear(int page, std::int64_t x, std::int64_t y, int pointPage, std::int64_t pointX, std::int64_t pointY)
{
    return page == pointPage && x >= pointX - kFieldTolerance && x <= pointX + kFieldTolerance &&
           y >= pointY - kFieldTolerance && y <= pointY + kFieldTolerance;
}

bool liesAtField(int fieldIndex, int page, std::int64_t x, std::int64_t y)
{
    if (fieldIndex < 0 || fieldIndex >= planlayout::kFieldCount) {
        return false;
    }
    const planlayout::FieldPosition &f = planlayout::kFieldPositions[static_cast<std::size_t>(fieldIndex)];
    return liesNear(page, x, y, f.page, f.x, f.y);
}

std::optional<std::size_t> findFieldItem(int fieldIndex, std::size_t count,
                                         const std::function<ItemPlace(std::size_t)> &place)
{
    if (fieldIndex < 0 || fieldIndex >= planlayout::kFieldCount || static_cast<std::size_t>(fieldIndex) >= count) {
        return std::nullopt;
    }
    for (std::size_t i = 0; i < count; ++i) {
        const ItemPlace at = place(i);
        if (liesAtField(fieldIndex, at.page, at.x, at.y)) {
            return i;
        }
    }
    return std::nullopt;
}

PrintedPlan decodePlan(const FieldLines &lines)
{
    return Decoder(lines).run();
}

PrintedPlan decodePlan(const std::vector<TextItem> &items)
{
    const auto place = [&items](std::size_t i) { return ItemPlace{items[i].page, items[i].x, items[i].y}; };
    return decodePlan([&](int field) -> const std::vector<std::string> * {
        const auto index = findFieldItem(field, items.size(), place);
        return index ? &items[*index].lines : nullptr;
    });
}

} // namespace planfile
