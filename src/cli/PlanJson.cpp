#include "cli/PlanJson.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "plan/TextParse.h"
#include "planfile/PlanCheck.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <stdexcept>
#include <unordered_set>

using nlohmann::json;

namespace planjson {

const std::vector<std::string> &planKeys()
{
    static const std::vector<std::string> keys = {
        "PlanDate",
        "Name",
        "Sex",
        "BirthDate",
        "Age",
        "KaigoLevel",
        "Kenkou",
        "Gapei",
        "Seikatsu",
        "Home",
        "Etc",
        "EtcText",
        "Taiin",
        "HomeWork",
        "Social",
        "GoOut",
        "FreeTime",
        "TaiinText",
        "ExerciseFlag",
        "ExerciseText",
        "SenseFlag",
        "SenseText",
        "BrainFlag",
        "BrainText",
        "KoushukuFlag",
        "KoushukuText",
        "ArthralgiaFlag",
        "ArthralgiaText",
        "SonotaFlag",
        "SonotaText",
        "HDS",
        "ActivityItems",
        "PTOTST0Text",
        "Kango0Text",
        "Jitchi0Text",
        "MotionItems",
        "PTOTST1Text",
        "Kango1Text",
        "Jitchi1Text",
        "SelfHopeText",
        "FarmilyHopeText",
        "LifePointText",
        "RihaTergetText",
        "SelfDoText",
        "AskFarmilyText",
        "DiseseCareText",
        "VariationText",
        "RemarkText",
        "Team",
    };
    return keys;
}

const std::vector<std::string> &rowKeys()
{
    static const std::vector<std::string> keys = {"ABC", "Goods", "Kaigo", "Time", "Special"};
    return keys;
}

namespace {

struct FaultException {
    Fault fault;
};

[[noreturn]] void refuse(const std::string &key, const std::string &message)
{
    throw FaultException{Fault{key, message}};
}

std::string utf8(const std::string &cp932Text)
{
    return cp932::toUtf8(cp932Text);
}

// "U+0009" for a control character other than a line break (a tab, an
// escape, DEL, ...), which no field of the form holds; nothing otherwise.
std::optional<std::string> controlCharacter(char c)
{
    const auto byte = static_cast<unsigned char>(c);
    if ((byte >= 0x20 && byte != 0x7F) || c == '\r' || c == '\n' || c == '\0') {
        return std::nullopt;
    }
    constexpr char kHex[] = "0123456789ABCDEF";
    return std::string("U+00") + kHex[byte >> 4] + kHex[byte & 0xF];
}

enum class Lines { Single, Multi };

// Reads the plan's values one key at a time, in the order the editor checks
// its controls before saving.
class Reader {
public:
    Reader(const json &root, TDateTime now) : m_root(root), m_plan(m_entry.Plan)
    {
        ResetPlan(m_plan, now);
        m_entry.BirthText = FormatEraDate(m_plan.BirthDate);
        m_entry.HDSText = std::to_string(m_plan.HDS);
    }

    // Reads every key up to the first fault of the JSON itself (a wrong type,
    // an unknown key, ...), then runs the checks before saving over what was
    // read: a fault they find lies before the JSON's own one and is reported
    // first. Keys not read keep the starting values, which pass the checks.
    TPRACTDATA read()
    {
        std::optional<Fault> own;
        try {
            readKeys();
        } catch (const FaultException &e) {
            own = e.fault;
        }
        if (const auto fault = planfile::CheckPlan(m_entry)) {
            refuse(inputKey(fault->where), utf8(fault->message));
        }
        if (own) {
            throw FaultException{*own};
        }
        return m_plan;
    }

private:
    void readKeys()
    {
        if (!m_root.is_object()) {
            refuse("PLAN", "the plan must be a JSON object");
        }
        checkKeys(m_root, planKeys(), "");

        date("PlanDate", m_plan.PlanDate);
        text(m_root, "Name", "Name", inputOf("Name"), Lines::Single, m_plan.Name);
        choice(m_root, "Sex", "Sex", -1, 1, m_plan.Sex);
        // A plan without a birth date starts born on its plan date, never
        // after it (the starting value is now).
        if (member(m_root, "BirthDate") == nullptr && planfile::bornAfterPlanDate(m_plan.BirthDate, m_plan.PlanDate)) {
            const CivilDate day = decodeDate(m_plan.PlanDate);
            m_plan.BirthDate = encodeDate(day.year, day.month, day.day);
        }
        date("BirthDate", m_plan.BirthDate);
        m_entry.BirthText = FormatEraDate(m_plan.BirthDate);
        age();
        choice(m_root, "KaigoLevel", "KaigoLevel", -1, 7, m_plan.KaigoLevel);
        text(m_root, "Kenkou", "Kenkou", inputOf("Kenkou"), Lines::Multi, m_plan.Kenkou);
        text(m_root, "Gapei", "Gapei", inputOf("Gapei"), Lines::Multi, m_plan.Gapei);
        text(m_root, "Seikatsu", "Seikatsu", inputOf("Seikatsu"), Lines::Multi, m_plan.Seikatsu);
        flag("Home", m_plan.Home);
        flag("Etc", m_plan.Etc);
        text(m_root, "EtcText", "EtcText", inputOf("EtcText"), Lines::Single, m_plan.EtcText);
        flag("Taiin", m_plan.Taiin);
        line("HomeWork", m_plan.HomeWork);
        line("Social", m_plan.Social);
        line("GoOut", m_plan.GoOut);
        line("FreeTime", m_plan.FreeTime);
        line("TaiinText", m_plan.TaiinText);
        flag("ExerciseFlag", m_plan.ExerciseFlag);
        line("ExerciseText", m_plan.ExerciseText);
        flag("SenseFlag", m_plan.SenseFlag);
        line("SenseText", m_plan.SenseText);
        flag("BrainFlag", m_plan.BrainFlag);
        line("BrainText", m_plan.BrainText);
        flag("KoushukuFlag", m_plan.KoushukuFlag);
        line("KoushukuText", m_plan.KoushukuText);
        flag("ArthralgiaFlag", m_plan.ArthralgiaFlag);
        line("ArthralgiaText", m_plan.ArthralgiaText);
        flag("SonotaFlag", m_plan.SonotaFlag);
        text(m_root, "SonotaText", "SonotaText", inputOf("SonotaText"), Lines::Multi, m_plan.SonotaText);
        hds();
        rows("ActivityItems", m_plan.ActivityItems);
        buffer("PTOTST0Text", m_plan.PTOTST0Text);
        buffer("Kango0Text", m_plan.Kango0Text);
        buffer("Jitchi0Text", m_plan.Jitchi0Text);
        rows("MotionItems", m_plan.MotionItems);
        buffer("PTOTST1Text", m_plan.PTOTST1Text);
        buffer("Kango1Text", m_plan.Kango1Text);
        buffer("Jitchi1Text", m_plan.Jitchi1Text);
        buffer("SelfHopeText", m_plan.SelfHopeText);
        buffer("FarmilyHopeText", m_plan.FarmilyHopeText);
        buffer("LifePointText", m_plan.LifePointText);
        buffer("RihaTergetText", m_plan.RihaTergetText);
        buffer("SelfDoText", m_plan.SelfDoText);
        buffer("AskFarmilyText", m_plan.AskFarmilyText);
        buffer("DiseseCareText", m_plan.DiseseCareText);
        buffer("VariationText", m_plan.VariationText);
        buffer("RemarkText", m_plan.RemarkText);
        team();
    }

    static void checkKeys(const json &object, const std::vector<std::string> &known, const std::string &prefix)
    {
        for (const auto &[key, value] : object.items()) {
            if (std::find(known.begin(), known.end(), key) == known.end()) {
                refuse(prefix + key, "unknown key");
            }
        }
    }

    static const json *member(const json &object, const char *key)
    {
        const auto it = object.find(key);
        return it == object.end() ? nullptr : &*it;
    }

    // The input of a top-level text key: the record field of the same name.
    static planfile::PlanInputRef inputOf(std::string_view key)
    {
        for (auto input = planfile::PlanInput::Name; input != planfile::PlanInput::Team;
             input = static_cast<planfile::PlanInput>(static_cast<int>(input) + 1)) {
            if (planfile::inputName(input) == key) {
                return {input};
            }
        }
        throw std::logic_error("no checked input named " + std::string(key));
    }

    // A text as the editor reads its control: memo line breaks become CR LF.
    // A character that CP932 cannot hold is left to the checks before saving
    // (the text is then not stored); its byte limit is theirs too.
    void text(const json &object, const char *key, const std::string &path, planfile::PlanInputRef ref, Lines lines,
              std::string &out)
    {
        const json *value = member(object, key);
        if (value == nullptr) {
            return;
        }
        if (!value->is_string()) {
            refuse(path, "must be a string");
        }
        const std::string &in = value->get_ref<const std::string &>();
        if (cp932::firstUnrepresentableUtf8(in)) {
            unrepresentable(ref);
            return;
        }
        std::string normalised;
        normalised.reserve(in.size() + 16);
        for (std::size_t i = 0; i < in.size(); ++i) {
            const char c = in[i];
            if (c == '\0') {
                refuse(path, "must not contain a null character");
            }
            if (const auto control = controlCharacter(c)) {
                refuse(path, "must not contain the control character " + *control);
            }
            if (c == '\r' || c == '\n') {
                if (lines == Lines::Single) {
                    refuse(path, "must be a single line");
                }
                if (c == '\r' && i + 1 < in.size() && in[i + 1] == '\n') {
                    ++i;
                }
                normalised += "\r\n";
            } else {
                normalised += c;
            }
        }
        out = cp932::fromUtf8(normalised);
    }

    // Only the first such input counts, as the checks stop there.
    void unrepresentable(planfile::PlanInputRef ref)
    {
        if (!m_entry.Unrepresentable) {
            m_entry.Unrepresentable = ref;
        }
    }

    void line(const char *key, std::string &out) { text(m_root, key, key, inputOf(key), Lines::Single, out); }

    template <typename Buffer> void buffer(const char *key, Buffer &out)
    {
        std::string value = out.str();
        text(m_root, key, key, inputOf(key), Lines::Multi, value);
        out = value;
    }

    void flag(const char *key, bool &out)
    {
        const json *value = member(m_root, key);
        if (value == nullptr) {
            return;
        }
        if (!value->is_boolean()) {
            refuse(key, "must be true or false");
        }
        out = value->get<bool>();
    }

    // An integer that fits a long long; nothing for any other value. An
    // unsigned number is looked at first: is_number_integer() holds for it
    // too, and read as a long long 18446744073709551615 would become -1.
    static std::optional<long long> integer(const json &value)
    {
        if (value.is_number_unsigned()) {
            const auto u = value.get<unsigned long long>();
            if (u <= static_cast<unsigned long long>(std::numeric_limits<long long>::max())) {
                return static_cast<long long>(u);
            }
            return std::nullopt;
        }
        if (value.is_number_integer()) {
            return value.get<long long>();
        }
        return std::nullopt;
    }

    static void choice(const json &object, const char *key, const std::string &path, int low, int high,
                       std::int32_t &out)
    {
        const json *value = member(object, key);
        if (value == nullptr) {
            return;
        }
        const auto v = integer(*value);
        if (!v || *v < low || *v > high) {
            refuse(path, "must be an integer from " + std::to_string(low) + " to " + std::to_string(high));
        }
        out = static_cast<std::int32_t>(*v);
    }

    // A date must be written so that the printed era date reads back as the
    // same day; otherwise the editor's date error.
    void date(const char *key, TDateTime &out)
    {
        const json *value = member(m_root, key);
        if (value == nullptr) {
            return;
        }
        std::optional<TDateTime> parsed;
        if (value->is_string()) {
            parsed = parseDate(value->get_ref<const std::string &>());
        }
        TDateTime back = 0;
        if (!parsed || !ParseEraDate(FormatEraDate(*parsed), back) || !(decodeDate(back) == decodeDate(*parsed))) {
            refuse(key, utf8(planfile::dateErrorMessage()));
        }
        out = *parsed;
    }

    void age()
    {
        const json *value = member(m_root, "Age");
        if (value == nullptr || value->is_null()) {
            m_plan.Age = AgeInYears(m_plan.BirthDate, m_plan.PlanDate);
            return;
        }
        const auto v = integer(*value);
        if (!v || *v < std::numeric_limits<std::int32_t>::min() || *v > std::numeric_limits<std::int32_t>::max()) {
            refuse("Age", "must be an integer");
        }
        m_plan.Age = static_cast<std::int32_t>(*v);
    }

    // HDS-R: a number or its text, which the checks before saving read as
    // the editor reads its box.
    void hds()
    {
        const json *value = member(m_root, "HDS");
        if (value == nullptr) {
            return;
        }
        std::string textValue;
        if (const auto v = integer(*value)) {
            textValue = std::to_string(*v);
        } else if (value->is_string()) {
            const std::string &in = value->get_ref<const std::string &>();
            if (cp932::firstUnrepresentableUtf8(in)) {
                unrepresentable({planfile::PlanInput::HDS});
                return;
            }
            textValue = cp932::fromUtf8(in);
        }
        m_entry.HDSText = textValue;
        if (const auto number = planfile::readNumber(textValue); number && *number >= 0 && *number <= 30) {
            m_plan.HDS = static_cast<std::int32_t>(*number);
        }
    }

    template <std::size_t N> void rows(const char *key, std::array<TPRACTITEM, N> &out)
    {
        const json *value = member(m_root, key);
        if (value == nullptr) {
            return;
        }
        if (!value->is_array() || value->size() != N) {
            refuse(key, "must be an array of " + std::to_string(N) + " rows");
        }
        for (std::size_t r = 0; r < N; ++r) {
            const int number = static_cast<int>(r) + (N == kMotionRows ? kMotionFirstRow : 0);
            row((*value)[r], std::string(key) + "[" + std::to_string(r) + "]", number, out[r]);
        }
    }

    void row(const json &object, const std::string &path, int number, TPRACTITEM &out)
    {
        if (!object.is_object()) {
            refuse(path, "must be an object");
        }
        checkKeys(object, rowKeys(), path + ".");
        if (const json *abc = member(object, "ABC")) {
            if (!abc->is_array() || abc->size() != 5) {
                refuse(path + ".ABC", "must be an array of 5 marks");
            }
            for (std::size_t c = 0; c < 5; ++c) {
                const std::string markPath = path + ".ABC[" + std::to_string(c) + "]";
                const json &mark = (*abc)[c];
                if (!mark.is_string() || !isMarkSet(mark.get_ref<const std::string &>())) {
                    refuse(markPath, "must hold the letters A, B, C, each at most once and in this order");
                }
                out.ABC[c] = mark.get_ref<const std::string &>();
            }
        }
        std::string value = out.Goods.str();
        text(object, "Goods", path + ".Goods", {planfile::PlanInput::Goods, number}, Lines::Multi, value);
        out.Goods = value;
        value = out.Kaigo.str();
        text(object, "Kaigo", path + ".Kaigo", {planfile::PlanInput::Kaigo, number}, Lines::Multi, value);
        out.Kaigo = value;
        value = out.Time.str();
        text(object, "Time", path + ".Time", {planfile::PlanInput::Time, number}, Lines::Single, value);
        out.Time = value;
        choice(object, "Special", path + ".Special", 0, 2, out.Special);
    }

    // "", "A", "B", "C", "AB", "AC", "BC" or "ABC": what a mark cell holds.
    static bool isMarkSet(std::string_view marks)
    {
        char last = 0;
        for (const char c : marks) {
            if (c < 'A' || c > 'C' || c <= last) {
                return false;
            }
            last = c;
        }
        return true;
    }

    void team()
    {
        const json *value = member(m_root, "Team");
        if (value == nullptr) {
            return;
        }
        if (!value->is_array() || value->size() != kTeamMembers) {
            refuse("Team", "must be an array of " + std::to_string(kTeamMembers) + " strings");
        }
        for (std::size_t n = 0; n < kTeamMembers; ++n) {
            const std::string path = "Team[" + std::to_string(n) + "]";
            const json &entry = (*value)[n];
            // The element is read through a one-key object so that text()
            // applies the same checks as to every other field.
            const json wrapper = {{"v", entry}};
            text(wrapper, "v", path, {planfile::PlanInput::Team, static_cast<int>(n) + 1}, Lines::Single,
                 m_plan.Team[n + 1]);
        }
    }

    const json &m_root;
    planfile::PlanEntry m_entry;
    TPRACTDATA &m_plan; // the record being read, inside m_entry
};

std::string memoToJson(std::string_view cp932Text)
{
    std::string text = cp932::toUtf8(cp932Text);
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r' && i + 1 < text.size() && text[i + 1] == '\n') {
            continue;
        }
        out += text[i];
    }
    return out;
}

nlohmann::ordered_json rowToJson(const TPRACTITEM &row)
{
    nlohmann::ordered_json j;
    nlohmann::ordered_json marks = nlohmann::ordered_json::array();
    for (const auto &mark : row.ABC) {
        marks.push_back(mark.str());
    }
    j["ABC"] = marks;
    j["Goods"] = memoToJson(row.Goods);
    j["Kaigo"] = memoToJson(row.Kaigo);
    j["Time"] = memoToJson(row.Time);
    j["Special"] = row.Special;
    return j;
}

} // namespace

std::string inputKey(const planfile::PlanInputRef &where)
{
    const std::string name(planfile::inputName(where.input));
    switch (where.input) {
    case planfile::PlanInput::Goods:
    case planfile::PlanInput::Kaigo:
    case planfile::PlanInput::Time:
        return where.number < kMotionFirstRow
                   ? "ActivityItems[" + std::to_string(where.number) + "]." + name
                   : "MotionItems[" + std::to_string(where.number - kMotionFirstRow) + "]." + name;
    case planfile::PlanInput::Team:
        return "Team[" + std::to_string(where.number - 1) + "]";
    default:
        return name;
    }
}

std::variant<TPRACTDATA, Fault> planFromJson(const json &json, TDateTime now)
{
    try {
        return Reader(json, now).read();
    } catch (const FaultException &e) {
        return e.fault;
    }
}

nlohmann::ordered_json planToJson(const TPRACTDATA &p)
{
    nlohmann::ordered_json j;
    j["PlanDate"] = formatDate(p.PlanDate);
    j["Name"] = memoToJson(p.Name);
    j["Sex"] = p.Sex;
    j["BirthDate"] = formatDate(p.BirthDate);
    j["Age"] = p.Age;
    j["KaigoLevel"] = p.KaigoLevel;
    j["Kenkou"] = memoToJson(p.Kenkou);
    j["Gapei"] = memoToJson(p.Gapei);
    j["Seikatsu"] = memoToJson(p.Seikatsu);
    j["Home"] = p.Home;
    j["Etc"] = p.Etc;
    j["EtcText"] = memoToJson(p.EtcText);
    j["Taiin"] = p.Taiin;
    j["HomeWork"] = memoToJson(p.HomeWork);
    j["Social"] = memoToJson(p.Social);
    j["GoOut"] = memoToJson(p.GoOut);
    j["FreeTime"] = memoToJson(p.FreeTime);
    j["TaiinText"] = memoToJson(p.TaiinText);
    j["ExerciseFlag"] = p.ExerciseFlag;
    j["ExerciseText"] = memoToJson(p.ExerciseText);
    j["SenseFlag"] = p.SenseFlag;
    j["SenseText"] = memoToJson(p.SenseText);
    j["BrainFlag"] = p.BrainFlag;
    j["BrainText"] = memoToJson(p.BrainText);
    j["KoushukuFlag"] = p.KoushukuFlag;
    j["KoushukuText"] = memoToJson(p.KoushukuText);
    j["ArthralgiaFlag"] = p.ArthralgiaFlag;
    j["ArthralgiaText"] = memoToJson(p.ArthralgiaText);
    j["SonotaFlag"] = p.SonotaFlag;
    j["SonotaText"] = memoToJson(p.SonotaText);
    j["HDS"] = p.HDS;
    j["ActivityItems"] = nlohmann::ordered_json::array();
    for (const auto &row : p.ActivityItems) {
        j["ActivityItems"].push_back(rowToJson(row));
    }
    j["PTOTST0Text"] = memoToJson(p.PTOTST0Text);
    j["Kango0Text"] = memoToJson(p.Kango0Text);
    j["Jitchi0Text"] = memoToJson(p.Jitchi0Text);
    j["MotionItems"] = nlohmann::ordered_json::array();
    for (const auto &row : p.MotionItems) {
        j["MotionItems"].push_back(rowToJson(row));
    }
    j["PTOTST1Text"] = memoToJson(p.PTOTST1Text);
    j["Kango1Text"] = memoToJson(p.Kango1Text);
    j["Jitchi1Text"] = memoToJson(p.Jitchi1Text);
    j["SelfHopeText"] = memoToJson(p.SelfHopeText);
    j["FarmilyHopeText"] = memoToJson(p.FarmilyHopeText);
    j["LifePointText"] = memoToJson(p.LifePointText);
    j["RihaTergetText"] = memoToJson(p.RihaTergetText);
    j["SelfDoText"] = memoToJson(p.SelfDoText);
    j["AskFarmilyText"] = memoToJson(p.AskFarmilyText);
    j["DiseseCareText"] = memoToJson(p.DiseseCareText);
    j["VariationText"] = memoToJson(p.VariationText);
    j["RemarkText"] = memoToJson(p.RemarkText);
    j["Team"] = nlohmann::ordered_json::array();
    for (int n = 1; n <= kTeamMembers; ++n) {
        j["Team"].push_back(memoToJson(p.Team[static_cast<std::size_t>(n)]));
    }
    return j;
}

std::string formatDate(TDateTime value)
{
    const CivilDate d = decodeDate(value);
    const auto [h, m, s] = timeOfDay(value);
    const auto pad = [](int v, int width) {
        std::string digits = std::to_string(v);
        return std::string(digits.size() < static_cast<std::size_t>(width) ? width - digits.size() : 0, '0') + digits;
    };
    std::string text = pad(d.year, 4) + "-" + pad(d.month, 2) + "-" + pad(d.day, 2);
    if (h != 0 || m != 0 || s != 0) {
        text += "T" + pad(h, 2) + ":" + pad(m, 2) + ":" + pad(s, 2);
    }
    return text;
}

std::optional<TDateTime> parseDate(std::string_view text)
{
    if (text.size() != 10 && text.size() != 19) {
        return std::nullopt;
    }
    const auto number = [&](std::size_t at, std::size_t width) {
        return plantext::parseInt<int>(text.substr(at, width));
    };
    const auto year = number(0, 4);
    const auto month = number(5, 2);
    const auto day = number(8, 2);
    if (!year || !month || !day || text[4] != '-' || text[7] != '-' || !isValidDate(*year, *month, *day)) {
        return std::nullopt;
    }
    if (text.size() == 10) {
        return encodeDate(*year, *month, *day);
    }
    const auto hour = number(11, 2);
    const auto minute = number(14, 2);
    const auto second = number(17, 2);
    if (text[10] != 'T' || text[13] != ':' || text[16] != ':' || !hour || !minute || !second || *hour > 23 ||
        *minute > 59 || *second > 59) {
        return std::nullopt;
    }
    return encodeDateTime(*year, *month, *day, *hour, *minute, *second);
}

namespace {

// Raised from the parser callback to stop the parse at a refused value.
struct StrictJsonFault {
    std::string message;
};

// A plan nests an object, its rows, a row and the row's marks: four levels.
constexpr std::size_t kMaxJsonDepth = 4;

// The offset of the first `[` or `{` that opens a level deeper than
// kMaxJsonDepth, brackets inside strings not counted; nothing when there is
// none. One pass over the bytes, so that a text of millions of brackets is
// refused before any of it is parsed (the parser would build the whole tree
// first). Unbalanced brackets are left for the parser to report.
std::optional<std::size_t> tooDeep(std::string_view text)
{
    std::size_t depth = 0;
    bool inString = false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\') {
                ++i;
            } else if (c == '"') {
                inString = false;
            }
        } else if (c == '"') {
            inString = true;
        } else if (c == '[' || c == '{') {
            if (++depth > kMaxJsonDepth) {
                return i;
            }
        } else if ((c == ']' || c == '}') && depth > 0) {
            --depth;
        }
    }
    return std::nullopt;
}

} // namespace

nlohmann::json parseJsonText(std::string_view text, std::string &error)
{
    error.clear();
    if (const std::size_t nul = text.find('\0'); nul != std::string_view::npos) {
        error = "NUL byte at offset " + std::to_string(nul);
        return nullptr;
    }
    if (const auto deep = tooDeep(text)) {
        error = "nested deeper than " + std::to_string(kMaxJsonDepth) + " levels at offset " + std::to_string(*deep);
        return nullptr;
    }
    // The keys met so far in each object being read, innermost last; a
    // hash set each, so that an object of very many keys is checked in
    // linear time.
    std::vector<std::unordered_set<std::string>> keys;
    const json::parser_callback_t check = [&keys](int, json::parse_event_t event, json &parsed) {
        switch (event) {
        case json::parse_event_t::object_start:
            keys.emplace_back();
            break;
        case json::parse_event_t::object_end:
            if (!keys.empty()) {
                keys.pop_back();
            }
            break;
        case json::parse_event_t::key: {
            const std::string &key = parsed.get_ref<const std::string &>();
            if (!keys.empty() && !keys.back().insert(key).second) {
                throw StrictJsonFault{"key \"" + key + "\" appears twice in one object"};
            }
            break;
        }
        case json::parse_event_t::value:
            if (parsed.is_number_float() && !std::isfinite(parsed.get<double>())) {
                throw StrictJsonFault{"number out of range"};
            }
            break;
        default:
            break;
        }
        return true;
    };
    try {
        return json::parse(text.begin(), text.end(), check);
    } catch (const StrictJsonFault &fault) {
        error = fault.message;
    } catch (const json::exception &e) {
        error = e.what();
    }
    return nullptr;
}

} // namespace planjson
