#include "cli/PlanJson.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "plan/TextParse.h"
#include "planfile/PlanCheck.h"
#include "planfile/PlanFieldValue.h"
#include "planfile/PlanFormat.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>
#include <tuple>
#include <stdexcept>

using nlohmann::json;

namespace planjson {

namespace {

// A field's JSON path taken apart: "ActivityItems[3].ABC[0]" is the
// top-level key "ActivityItems", element 3, row key "ABC", element 0.
struct JsonPath {
    std::string top;
    int element = -1; // of the top-level array; -1 for a plain key
    std::string sub;  // key inside the array's element object; empty for none
    int subElement = -1;
};

// "Key" or "Key[n]": the name and the position (-1 when there is none).
std::pair<std::string, int> splitIndex(std::string_view part)
{
    const std::size_t open = part.find('[');
    if (open == std::string_view::npos) {
        return {std::string(part), -1};
    }
    const auto n = plantext::parseInt<int>(part.substr(open + 1, part.size() - open - 2));
    return {std::string(part.substr(0, open)), n ? *n : -1};
}

JsonPath splitPath(std::string_view path)
{
    JsonPath out;
    const std::size_t dot = path.find('.');
    std::tie(out.top, out.element) = splitIndex(path.substr(0, dot));
    if (dot != std::string_view::npos) {
        std::tie(out.sub, out.subElement) = splitIndex(path.substr(dot + 1));
    }
    return out;
}

// A key as messages quote it: whole when short, else its first 40 bytes
// (never cutting a UTF-8 character) and "…", so that a key of megabytes
// is not echoed whole.
std::string quotedStart(std::string_view key)
{
    constexpr std::size_t kLongest = 40;
    if (key.size() <= kLongest) {
        return std::string(key);
    }
    std::size_t cut = kLongest;
    while (cut > 0 && (static_cast<unsigned char>(key[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return std::string(key.substr(0, cut)) + "\u2026";
}

void addOnce(std::vector<std::string> &list, const std::string &key)
{
    if (std::find(list.begin(), list.end(), key) == list.end()) {
        list.push_back(key);
    }
}

// The JSON form of a layout's plan, worked out once per layout from the
// fields' paths: each field's path by field index, how many elements the
// arrays hold (by their key, and a row key for the arrays inside rows), the
// keys of the plan object and those of a row.
struct JsonShape {
    std::vector<JsonPath> paths;
    std::map<std::pair<std::string, std::string>, std::size_t> lengths;
    std::vector<std::string> planKeys;
    std::vector<std::string> rowKeys;

    explicit JsonShape(const planfile::PlanLayout &layout)
    {
        const auto grow = [this](std::pair<std::string, std::string> key, int element) {
            std::size_t &length = lengths[std::move(key)];
            length = std::max(length, static_cast<std::size_t>(element + 1));
        };
        for (const planfile::PlanField &field : layout.fields) {
            const JsonPath &path = paths.emplace_back(splitPath(field.json));
            if (path.element >= 0) {
                grow({path.top, {}}, path.element);
            }
            if (path.subElement >= 0) {
                grow({path.top, path.sub}, path.subElement);
            }
            addOnce(planKeys, path.top);
            if (!path.sub.empty()) {
                addOnce(rowKeys, path.sub);
            }
        }
    }

    std::size_t arrayLength(const std::string &top, const std::string &sub = {}) const
    {
        const auto it = lengths.find({top, sub});
        return it == lengths.end() ? 0 : it->second;
    }
};

const JsonShape &shapeOf(const planfile::PlanLayout &layout)
{
    return planfile::perLayout<JsonShape>(layout, [](const planfile::PlanLayout &l) { return JsonShape(l); });
}

} // namespace

const std::vector<std::string> &planKeys()
{
    return shapeOf(planfile::currentLayout()).planKeys;
}

const std::vector<std::string> &rowKeys()
{
    return shapeOf(planfile::currentLayout()).rowKeys;
}

namespace {

using planfile::FieldKind;
using planfile::PlanField;

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

// The most a Choice field takes: its list's last item, or the empty item
// that closes the care-level list on screen.
int highestChoice(const PlanField &field)
{
    const int last = static_cast<int>(planfile::choiceItems(field.choices).size()) - 1;
    return field.choices == planfile::ChoiceList::CareLevels ? last + 1 : last;
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

// Reads the plan's values one field at a time, in field order.
class Reader {
public:
    Reader(const json &root, TDateTime now, std::vector<LookAlikeChange> *lookAlikes)
        : m_root(root), m_plan(m_entry.Plan), m_lookAlikes(lookAlikes)
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
            refuse(fault->where->json, utf8(fault->message));
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
        // At a fault the faulty field and every later one are taken as
        // missing, so that what they start with agrees with what was read
        // (a birth date not read follows a plan date that was) and the
        // checks before saving find no fault in a key after the faulty one.
        std::optional<FaultException> fault;
        for (const PlanField &field : planfile::kPlanFields) {
            if (fault) {
                missing(field);
                continue;
            }
            try {
                const JsonPath &path = shapeOf(planfile::currentLayout()).paths[static_cast<std::size_t>(field.index)];
                if (const json *value = locate(path)) {
                    readField(field, *value);
                } else {
                    missing(field);
                }
            } catch (const FaultException &e) {
                fault = e;
                missing(field);
            }
        }
        if (fault) {
            throw *fault;
        }
    }

    static void checkKeys(const json &object, const std::vector<std::string> &known, const std::string &prefix)
    {
        for (const auto &[key, value] : object.items()) {
            if (std::find(known.begin(), known.end(), key) == known.end()) {
                refuse(prefix + quotedStart(key), "unknown key");
            }
        }
    }

    static const json *member(const json &object, const std::string &key)
    {
        const auto it = object.find(key);
        return it == object.end() ? nullptr : &*it;
    }

    // An array of `length` elements, or the fault that names what it must be.
    static void checkArray(const json &value, const std::string &path, std::size_t length, const char *elements)
    {
        if (!value.is_array() || value.size() != length) {
            refuse(path, "must be an array of " + std::to_string(length) + " " + elements);
        }
    }

    // The value at a field's path, after checking the arrays and row objects
    // on the way; nullptr when a key on the way is missing.
    const json *locate(const JsonPath &path) const
    {
        const json *value = member(m_root, path.top);
        if (value == nullptr || path.element < 0) {
            return value;
        }
        const std::size_t length = shapeOf(planfile::currentLayout()).arrayLength(path.top);
        checkArray(*value, path.top, length, path.sub.empty() ? "strings" : "rows");
        value = &(*value)[static_cast<std::size_t>(path.element)];
        if (path.sub.empty()) {
            return value;
        }
        const std::string rowPath = path.top + "[" + std::to_string(path.element) + "]";
        if (!value->is_object()) {
            refuse(rowPath, "must be an object");
        }
        checkKeys(*value, rowKeys(), rowPath + ".");
        value = member(*value, path.sub);
        if (value == nullptr || path.subElement < 0) {
            return value;
        }
        checkArray(*value, rowPath + "." + path.sub, shapeOf(planfile::currentLayout()).arrayLength(path.top, path.sub), "marks");
        return &(*value)[static_cast<std::size_t>(path.subElement)];
    }

    void readField(const PlanField &field, const json &value)
    {
        switch (field.kind) {
        case FieldKind::Date: date(field, value); break;
        case FieldKind::Number:
            if (field.check > 0) {
                hds(field, value);
            } else {
                age(field, value);
            }
            break;
        case FieldKind::Choice: choice(field, value, -1, highestChoice(field)); break;
        case FieldKind::Priority: choice(field, value, 0, static_cast<int>(planfile::kPriorityMarks.size()) - 1); break;
        case FieldKind::Tick: flag(field, value); break;
        case FieldKind::Mark: mark(field, value); break;
        case FieldKind::Text: text(field, value, Lines::Single); break;
        case FieldKind::Memo: text(field, value, Lines::Multi); break;
        }
    }

    // A missing key keeps the starting value, but for two fields that
    // follow from others: a plan without a birth date starts born on its plan
    // date (never after it), and a missing age is computed from the dates.
    void missing(const PlanField &field)
    {
        if (field.kind == FieldKind::Date && field.check > 0 &&
            planfile::bornAfterPlanDate(m_plan.BirthDate, m_plan.PlanDate)) {
            const CivilDate day = decodeDate(m_plan.PlanDate);
            m_plan.BirthDate = encodeDate(day.year, day.month, day.day);
            m_entry.BirthText = FormatEraDate(m_plan.BirthDate);
        } else if (field.widget == planfile::ControlKind::AgeLabel) {
            m_plan.Age = AgeInYears(m_plan.BirthDate, m_plan.PlanDate);
        }
    }

    enum class Lines { Single, Multi };

    // A text as the editor reads its control: memo line breaks become CR LF.
    // A character that CP932 cannot hold is left to the checks before saving
    // (the text is then not stored); its byte limit is theirs too.
    void text(const PlanField &field, const json &value, Lines lines)
    {
        if (!value.is_string()) {
            refuse(field.json, "must be a string");
        }
        const std::string &in = value.get_ref<const std::string &>();
        if (cp932::firstUnrepresentableUtf8(in)) {
            unrepresentable(field);
            return;
        }
        std::string normalised;
        normalised.reserve(in.size() + 16);
        for (std::size_t i = 0; i < in.size(); ++i) {
            const char c = in[i];
            if (c == '\0') {
                refuse(field.json, "must not contain a null character");
            }
            if (const auto control = controlCharacter(c)) {
                refuse(field.json, "must not contain the control character " + *control);
            }
            if (c == '\r' || c == '\n') {
                if (lines == Lines::Single) {
                    refuse(field.json, "must be a single line");
                }
                if (c == '\r' && i + 1 < in.size() && in[i + 1] == '\n') {
                    ++i;
                }
                normalised += "\r\n";
            } else {
                normalised += c;
            }
        }
        noteLookAlikes(field, normalised);
        planfile::setFieldText(m_plan, field, cp932::fromUtf8(normalised));
    }

    // Only the first such field counts, as the checks stop there.
    void unrepresentable(const PlanField &field)
    {
        if (m_entry.Unrepresentable == nullptr || field.check < m_entry.Unrepresentable->check) {
            m_entry.Unrepresentable = &field;
        }
    }

    void flag(const PlanField &field, const json &value)
    {
        if (!value.is_boolean()) {
            refuse(field.json, "must be true or false");
        }
        planfile::setFieldTick(m_plan, field, value.get<bool>());
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

    void choice(const PlanField &field, const json &value, int low, int high)
    {
        const auto v = integer(value);
        if (!v || *v < low || *v > high) {
            refuse(field.json, "must be an integer from " + std::to_string(low) + " to " + std::to_string(high));
        }
        planfile::setFieldNumber(m_plan, field, static_cast<std::int32_t>(*v));
    }

    // A date must be written so that the printed era date reads back as the
    // same day; otherwise the editor's date error.
    void date(const PlanField &field, const json &value)
    {
        std::optional<TDateTime> parsed;
        if (value.is_string()) {
            parsed = parseDate(value.get_ref<const std::string &>());
        }
        TDateTime back = 0;
        if (!parsed || !ParseEraDate(FormatEraDate(*parsed), back) || !(decodeDate(back) == decodeDate(*parsed))) {
            refuse(field.json, utf8(planfile::dateErrorMessage()));
        }
        planfile::setFieldDate(m_plan, field, *parsed);
        if (field.check > 0) {
            m_entry.BirthText = FormatEraDate(*parsed);
        }
    }

    void age(const PlanField &field, const json &value)
    {
        if (value.is_null()) {
            missing(field);
            return;
        }
        // What the form's age box prints whole and reads back.
        constexpr long long kOldest = 999;
        const auto v = integer(value);
        if (!v || *v < 0 || *v > kOldest) {
            refuse(field.json, "must be an integer from 0 to " + std::to_string(kOldest));
        }
        planfile::setFieldNumber(m_plan, field, static_cast<std::int32_t>(*v));
    }

    // HDS-R: a number or its text, which the checks before saving read as
    // the editor reads its box.
    void hds(const PlanField &field, const json &value)
    {
        std::string textValue;
        if (const auto v = integer(value)) {
            textValue = std::to_string(*v);
        } else if (value.is_string()) {
            const std::string &in = value.get_ref<const std::string &>();
            if (cp932::firstUnrepresentableUtf8(in)) {
                unrepresentable(field);
                return;
            }
            noteLookAlikes(field, in);
            textValue = cp932::fromUtf8(in);
        }
        m_entry.HDSText = textValue;
        if (const auto number = planfile::readNumber(textValue); number && *number >= 0 && *number <= 30) {
            planfile::setFieldNumber(m_plan, field, static_cast<std::int32_t>(*number));
        }
    }

    // "", "A", "B", "C", "AB", "AC", "BC" or "ABC": what a mark cell holds.
    void mark(const PlanField &field, const json &value)
    {
        if (!value.is_string() || !isMarkSet(value.get_ref<const std::string &>())) {
            refuse(field.json, "must hold the letters A, B, C, each at most once and in this order");
        }
        planfile::setFieldText(m_plan, field, value.get_ref<const std::string &>());
    }

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

    // Notes the look-alikes of a text that is stored.
    void noteLookAlikes(const PlanField &field, std::string_view text)
    {
        if (m_lookAlikes == nullptr) {
            return;
        }
        for (const cp932::LookAlike &change : cp932::lookAlikesUtf8(text)) {
            m_lookAlikes->push_back({field.json, utf8Of(change.from), utf8Of(change.to)});
        }
    }

    static std::string utf8Of(char32_t cp)
    {
        std::string out;
        if (cp < 0x80) {
            out += static_cast<char>(cp);
        } else if (cp < 0x800) {
            out += static_cast<char>(0xC0 | (cp >> 6));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else if (cp < 0x10000) {
            out += static_cast<char>(0xE0 | (cp >> 12));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        } else {
            out += static_cast<char>(0xF0 | (cp >> 18));
            out += static_cast<char>(0x80 | ((cp >> 12) & 0x3F));
            out += static_cast<char>(0x80 | ((cp >> 6) & 0x3F));
            out += static_cast<char>(0x80 | (cp & 0x3F));
        }
        return out;
    }

    const json &m_root;
    planfile::PlanEntry m_entry;
    TPRACTDATA &m_plan; // the record being read, inside m_entry
    std::vector<LookAlikeChange> *m_lookAlikes;
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

nlohmann::ordered_json fieldToJson(const TPRACTDATA &p, const PlanField &field)
{
    switch (field.kind) {
    case FieldKind::Date: return formatDate(planfile::fieldDate(p, field));
    case FieldKind::Number:
    case FieldKind::Choice:
    case FieldKind::Priority: return planfile::fieldNumber(p, field);
    case FieldKind::Tick: return planfile::fieldTick(p, field);
    case FieldKind::Mark: return std::string(planfile::fieldText(p, field));
    case FieldKind::Text:
    case FieldKind::Memo: break;
    }
    return memoToJson(planfile::fieldText(p, field));
}

} // namespace

std::variant<TPRACTDATA, Fault> planFromJson(const json &json, TDateTime now,
                                             std::vector<LookAlikeChange> *lookAlikes)
{
    try {
        return Reader(json, now, lookAlikes).read();
    } catch (const FaultException &e) {
        return e.fault;
    }
}

// Fields are placed in field order; each object keeps its keys in the order
// they were first placed, which is the order of the record and of a row.
nlohmann::ordered_json planToJson(const TPRACTDATA &p, const planfile::PlanLayout &layout)
{
    const JsonShape &shape = shapeOf(layout);
    nlohmann::ordered_json j = nlohmann::ordered_json::object();
    for (const PlanField &field : layout.fields) {
        const JsonPath &path = shape.paths[static_cast<std::size_t>(field.index)];
        nlohmann::ordered_json *at = &j[path.top];
        if (path.element >= 0) {
            if (!at->is_array()) {
                *at = nlohmann::ordered_json::array();
                at->get_ref<nlohmann::ordered_json::array_t &>().resize(shape.arrayLength(path.top));
            }
            at = &(*at)[static_cast<std::size_t>(path.element)];
        }
        if (!path.sub.empty()) {
            at = &(*at)[path.sub];
            if (path.subElement >= 0) {
                if (!at->is_array()) {
                    *at = nlohmann::ordered_json::array();
                    at->get_ref<nlohmann::ordered_json::array_t &>().resize(shape.arrayLength(path.top, path.sub));
                }
                at = &(*at)[static_cast<std::size_t>(path.subElement)];
            }
        }
        *at = fieldToJson(p, field);
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

namespace {

// Builds the document as the parser reads it, one event at a time: nothing
// read is looked at again. A key is checked against the keys of its object
// so far by that object's own ordered map, whose cost no choice of keys can
// steer; a number that overflows to infinity is refused.
class StrictBuilder : public nlohmann::json_sax<json> {
public:
    json root;
    std::string error;

    bool null() override { return put(nullptr); }
    bool boolean(bool value) override { return put(value); }
    bool number_integer(number_integer_t value) override { return put(value); }
    bool number_unsigned(number_unsigned_t value) override { return put(value); }
    bool number_float(number_float_t value, const string_t &) override
    {
        if (!std::isfinite(value)) {
            return refuse("number out of range");
        }
        return put(value);
    }
    bool string(string_t &value) override { return put(std::move(value)); }
    bool binary(binary_t &value) override { return put(json::binary(std::move(value))); }
    bool start_object(std::size_t) override
    {
        m_stack.push_back(put(json::object()) ? m_last : nullptr);
        return true;
    }
    bool key(string_t &value) override
    {
        json::object_t &object = m_stack.back()->get_ref<json::object_t &>();
        const auto [at, added] = object.try_emplace(std::move(value));
        if (!added) {
            return refuse("key \"" + quotedStart(at->first) + "\" appears twice in one object");
        }
        m_slot = &at->second;
        return true;
    }
    bool end_object() override
    {
        m_stack.pop_back();
        return true;
    }
    bool start_array(std::size_t) override
    {
        m_stack.push_back(put(json::array()) ? m_last : nullptr);
        return true;
    }
    bool end_array() override
    {
        m_stack.pop_back();
        return true;
    }
    bool parse_error(std::size_t, const std::string &, const nlohmann::detail::exception &e) override
    {
        return refuse(e.what());
    }

private:
    bool refuse(std::string message)
    {
        if (error.empty()) {
            error = std::move(message);
        }
        return false;
    }

    // Places a value where the document is being built: the root, the end
    // of the open array, or the slot of the key just read.
    template <typename Value> bool put(Value &&value)
    {
        if (m_stack.empty()) {
            root = json(std::forward<Value>(value));
            m_last = &root;
        } else if (m_stack.back()->is_array()) {
            auto &array = m_stack.back()->get_ref<json::array_t &>();
            array.emplace_back(std::forward<Value>(value));
            m_last = &array.back();
        } else {
            *m_slot = json(std::forward<Value>(value));
            m_last = m_slot;
        }
        return true;
    }

    std::vector<json *> m_stack; // the open objects and arrays, innermost last
    json *m_slot = nullptr;      // where the value of the key just read goes
    json *m_last = nullptr;      // the value placed last
};

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
    StrictBuilder builder;
    bool complete = false;
    try {
        complete = json::sax_parse(text.begin(), text.end(), &builder);
    } catch (const json::exception &e) {
        builder.error = e.what();
    }
    if (!complete) {
        error = builder.error.empty() ? std::string("the JSON text is incomplete") : builder.error;
        return nullptr;
    }
    return std::move(builder.root);
}

} // namespace planjson
