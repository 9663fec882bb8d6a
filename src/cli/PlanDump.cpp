#include "cli/PlanDump.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "plan/Marks.h"
#include "cli/PlanJson.h"
#include "plan/PlanLimits.h"
#include "plan/TextParse.h"

#include <array>
#include <limits>
#include <optional>

namespace plandump {

namespace {

using ordered_json = nlohmann::ordered_json;

// Field indices of the printed form that are not simple runs.
constexpr int kPlanDate = 0;
constexpr int kName = 1;
constexpr int kSex = 2;
constexpr int kBirth = 3;
constexpr int kAge = 4;
constexpr int kKaigoLevel = 5;
constexpr int kHds = 30;
constexpr int kTeamFirst = 235; // Team[1]; Team[n] is at 234 + n

// Where the cells of a table's rows are printed: marks at markFirst + 5 * row
// + column, the other cells at their first index + row.
struct TableFields {
    int markFirst;
    int goodsFirst;
    int kaigoFirst;
    int timeFirst;
    int specialFirst;
};
constexpr TableFields kActivityTable{31, 96, 109, 122, 135};
constexpr TableFields kMotionTable{151, 191, 199, 207, 215};

// The fixed texts compared with printed lines, in CP932, converted once.
struct Texts {
    std::string tick = cp932::fromUtf8("レ");
    std::string male = cp932::fromUtf8("男性");
    std::string female = cp932::fromUtf8("女性");
    std::array<std::string, 7> careLevels = {cp932::fromUtf8("要支援１"), cp932::fromUtf8("要支援２"),
                                             cp932::fromUtf8("要介護１"), cp932::fromUtf8("要介護２"),
                                             cp932::fromUtf8("要介護３"), cp932::fromUtf8("要介護４"),
                                             cp932::fromUtf8("要介護５")};
    std::string single = cp932::fromUtf8("○");
    std::string twin = cp932::fromUtf8("◎");
    std::string author = cp932::fromUtf8("Ｒ１．０");
    std::string subject = cp932::fromUtf8("ＲＩＨＡ");
    std::string notAPlan = cp932::fromUtf8("このＰＤＦファイルはリハビリ実施計画書ではありません。");
};

const Texts &texts()
{
    static const Texts t;
    return t;
}

// The printed lines of one field, with the two readings the open command uses.
class Field {
public:
    explicit Field(const std::vector<std::string> *lines) : m_lines(lines) {}

    // Line 1, or empty when nothing (or an object without lines) was printed.
    std::string_view line1() const { return m_lines && !m_lines->empty() ? (*m_lines)[0] : std::string_view(); }
    std::string_view line2() const { return m_lines && m_lines->size() > 1 ? (*m_lines)[1] : std::string_view(); }

    // Every line, joined as a memo joins them.
    std::string allLines() const
    {
        std::string text;
        if (m_lines) {
            for (std::size_t i = 0; i < m_lines->size(); ++i) {
                if (i > 0) {
                    text += '\n';
                }
                text += (*m_lines)[i];
            }
        }
        return text;
    }

private:
    const std::vector<std::string> *m_lines;
};

class Dumper {
public:
    explicit Dumper(const ItemLookup &item) : m_item(item) {}

    ordered_json dump()
    {
        ordered_json j;
        j["PlanDate"] = date(kPlanDate);
        j["Name"] = line(kName);
        j["Sex"] = sex();
        j["BirthDate"] = date(kBirth);
        j["Age"] = number(kAge);
        j["KaigoLevel"] = kaigoLevel();
        j["Kenkou"] = memo(6);
        j["Gapei"] = memo(7);
        j["Seikatsu"] = memo(8);
        j["Home"] = tick(9);
        j["Etc"] = tick(10);
        j["EtcText"] = line(11);
        j["Taiin"] = tick(12);
        j["HomeWork"] = line(13);
        j["Social"] = line(14);
        j["GoOut"] = line(15);
        j["FreeTime"] = line(16);
        j["TaiinText"] = line(17);
        j["ExerciseFlag"] = tick(18);
        j["ExerciseText"] = line(19);
        j["SenseFlag"] = tick(20);
        j["SenseText"] = line(21);
        j["BrainFlag"] = tick(22);
        j["BrainText"] = line(23);
        j["KoushukuFlag"] = tick(24);
        j["KoushukuText"] = line(25);
        j["ArthralgiaFlag"] = tick(26);
        j["ArthralgiaText"] = line(27);
        j["SonotaFlag"] = tick(28);
        j["SonotaText"] = memo(29);
        j["HDS"] = number(kHds);
        j["ActivityItems"] = rows(kActivityTable, 13);
        j["PTOTST0Text"] = memo(148);
        j["Kango0Text"] = memo(149);
        j["Jitchi0Text"] = memo(150);
        j["MotionItems"] = rows(kMotionTable, 8);
        j["PTOTST1Text"] = memo(223);
        j["Kango1Text"] = memo(224);
        j["Jitchi1Text"] = memo(225);
        const char *const page2[] = {"SelfHopeText",   "FarmilyHopeText", "LifePointText",
                                     "RihaTergetText", "SelfDoText",      "AskFarmilyText",
                                     "DiseseCareText", "VariationText",   "RemarkText"};
        int index = 226;
        for (const char *key : page2) {
            j[key] = memo(index++);
        }
        ordered_json team = ordered_json::array();
        for (int n = 0; n < kTeamMembers; ++n) {
            team.push_back(line(kTeamFirst + n));
        }
        j["Team"] = team;
        return j;
    }

private:
    Field field(int index) const { return Field(m_item(index)); }

    std::string line(int index) const { return cp932::toUtf8(field(index).line1()); }
    std::string memo(int index) const { return cp932::toUtf8(field(index).allLines()); }
    bool tick(int index) const { return field(index).line1() == texts().tick; }

    ordered_json date(int index) const
    {
        TDateTime value = 0;
        if (!ParseEraDate(field(index).line1(), value)) {
            return nullptr;
        }
        return planjson::formatDate(value);
    }

    ordered_json number(int index) const
    {
        const auto value = planlimits::readHdsNumber(field(index).line1());
        if (!value || *value < std::numeric_limits<std::int32_t>::min() ||
            *value > std::numeric_limits<std::int32_t>::max()) {
            return nullptr;
        }
        return static_cast<std::int32_t>(*value);
    }

    int sex() const
    {
        const std::string_view text = field(kSex).line1();
        if (text == texts().male) {
            return 0;
        }
        if (text == texts().female) {
            return 1;
        }
        return -1;
    }

    int kaigoLevel() const
    {
        const auto &levels = texts().careLevels;
        const std::string_view text = field(kKaigoLevel).line1();
        for (std::size_t i = 0; i < levels.size(); ++i) {
            if (text == levels[i]) {
                return static_cast<int>(i);
            }
        }
        return -1;
    }

    // The cell shows line 1 and line 2 through the full-width conversion;
    // the save keeps the cell's letters through the half-width one.
    std::string mark(int index) const
    {
        const Field f = field(index);
        std::string letters(f.line1());
        letters += f.line2();
        return MarkToHalfWidth(MarkToFullWidth(letters));
    }

    int special(int index) const
    {
        const std::string_view text = field(index).line1();
        if (text == texts().single) {
            return 1;
        }
        if (text == texts().twin) {
            return 2;
        }
        return 0;
    }

    ordered_json rows(const TableFields &table, int count) const
    {
        ordered_json list = ordered_json::array();
        for (int r = 0; r < count; ++r) {
            ordered_json row;
            ordered_json marks = ordered_json::array();
            for (int c = 0; c < 5; ++c) {
                marks.push_back(mark(table.markFirst + 5 * r + c));
            }
            row["ABC"] = marks;
            row["Goods"] = memo(table.goodsFirst + r);
            row["Kaigo"] = memo(table.kaigoFirst + r);
            row["Time"] = line(table.timeFirst + r);
            row["Special"] = special(table.specialFirst + r);
            list.push_back(row);
        }
        return list;
    }

    const ItemLookup &m_item;
};

} // namespace

bool isPlanFile(std::string_view author, std::string_view subject)
{
    return plantext::trimmed(author) == texts().author && plantext::trimmed(subject) == texts().subject;
}

const std::string &notAPlanMessage()
{
    return texts().notAPlan;
}

ordered_json dumpPlan(const ItemLookup &item)
{
    return Dumper(item).dump();
}

} // namespace plandump
