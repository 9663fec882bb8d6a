#include "plan/Common.h"

#include "plan/Cp932.h"
#include "plan/TextParse.h"

#include <array>
#include <cmath>
#include <optional>

namespace {

struct Era {
    char key;           // upper-case era key; the lower case works as well
    const char *name;   // UTF-8; converted to CP932 once
    int baseYear;       // calendar year = base year + era year
    CivilDate firstDay; // first day of the era, for formatting
};

// The eras, oldest first. Parsing tests only the first character of the name.
constexpr std::array<Era, 5> kEras{{
    {'M', "明治", 1867, {1868, 1, 1}},
    {'T', "大正", 1911, {1912, 7, 30}},
    {'S', "昭和", 1925, {1926, 12, 25}},
    {'H', "平成", 1988, {1989, 1, 8}},
    {'R', "令和", 2018, {2019, 5, 1}},
}};

const std::string &eraName(std::size_t index)
{
    static const std::array<std::string, kEras.size()> names = [] {
        std::array<std::string, kEras.size()> n;
        for (std::size_t i = 0; i < kEras.size(); ++i) {
            n[i] = cp932::fromUtf8(kEras[i].name);
        }
        return n;
    }();
    return names[index];
}

std::optional<std::size_t> eraOfKey(char key)
{
    const char upper = (key >= 'a' && key <= 'z') ? static_cast<char>(key - 'a' + 'A') : key;
    for (std::size_t i = 0; i < kEras.size(); ++i) {
        if (kEras[i].key == upper) {
            return i;
        }
    }
    return std::nullopt;
}

// Reads a short field as a decimal integer: leading spaces skipped, an
// optional sign, then digits to the end. Anything else (a "_", an empty
// field, a trailing space) is not a number.
std::optional<int> readInteger(std::string_view s)
{
    return plantext::parseInt<int>(s, plantext::IntForm::Signed);
}

// Bytes n .. n+len-1 (1-based) of the text, as far as they exist.
std::string_view bytesAt(std::string_view text, std::size_t n, std::size_t len)
{
    if (n - 1 >= text.size()) {
        return {};
    }
    return text.substr(n - 1, len);
}

// Replaces bytes from n on with x, keeping the text at most 16 bytes long:
// bytes 1..n-1, then x, then bytes n+|x| .. 16.
void putAt(std::string &text, std::size_t n, std::string_view x)
{
    std::string result(bytesAt(text, 1, n - 1));
    result += x;
    const std::size_t after = n + x.size();
    if (after <= 16) {
        result += bytesAt(text, after, 16 - after + 1);
    }
    text = std::move(result);
}

bool isDigit(char c)
{
    return c >= '0' && c <= '9';
}

// Second digit of a two-digit group (year, month or day). Returns the new caret.
int secondDigit(std::string &text, std::size_t firstByte, char key, int caret, int lo, int hi, int next)
{
    std::string v(bytesAt(text, firstByte, 1));
    v.push_back(key);
    const std::optional<int> value = readInteger(v);
    if (!value) {
        putAt(text, firstByte, "__");
        return caret - 1;
    }
    if (*value < lo || *value > hi) {
        putAt(text, firstByte + 1, "_");
        return caret;
    }
    putAt(text, firstByte + 1, std::string(1, key));
    return next;
}

} // namespace

const std::string &blankEraDateTemplate()
{
    static const std::string text = cp932::fromUtf8("＿＿__年__月__日");
    return text;
}

const std::string &initialEraDateText()
{
    static const std::string text = cp932::fromUtf8("平成  年  月  日");
    return text;
}

void EditEraDate(int &caret, std::string &text, char &key, TDateTime now)
{
    const char typed = key;
    key = '\0';
    if (caret == -1) {
        text = blankEraDateTemplate();
        caret = 0;
        return;
    }
    if (caret < -1) {
        text = FormatEraDate(now);
        caret = 0;
        return;
    }
    switch (caret) {
    case 0:
    case 1:
    case 2:
    case 3:
        if (const auto era = eraOfKey(typed)) {
            putAt(text, 1, eraName(*era));
        }
        caret = 4;
        return;
    case 4:
        if (typed == '0' || typed == ' ') {
            putAt(text, 5, " ");
            caret = 5;
        } else if (typed >= '1' && typed <= '9') {
            putAt(text, 5, std::string(1, typed));
            caret = 5;
        }
        return;
    case 5:
        if (isDigit(typed)) {
            caret = secondDigit(text, 5, typed, 5, 1, 1 << 30, 8);
        }
        return;
    case 6:
    case 7:
        caret = 8;
        return;
    case 8:
        if (typed == '0' || typed == ' ') {
            putAt(text, 9, " ");
            caret = 9;
        } else if (typed == '1') {
            putAt(text, 9, "1");
            caret = 9;
        }
        return;
    case 9:
        if (isDigit(typed)) {
            caret = secondDigit(text, 9, typed, 9, 1, 12, 12);
        }
        return;
    case 10:
    case 11:
        caret = 12;
        return;
    case 12:
        if (typed == '0' || typed == ' ') {
            putAt(text, 13, " ");
            caret = 13;
        } else if (typed >= '1' && typed <= '3') {
            putAt(text, 13, std::string(1, typed));
            caret = 13;
        } else {
            putAt(text, 13, "_");
        }
        return;
    case 13:
        if (isDigit(typed)) {
            caret = secondDigit(text, 13, typed, 13, 1, 1 << 30, 16);
            TDateTime date = 0;
            if (caret == 16 && !ParseEraDate(text, date)) {
                putAt(text, 14, "_");
                caret = 13;
            }
        }
        return;
    default:
        return;
    }
}

void EditEraDate(int &caret, std::string &text, char &key)
{
    EditEraDate(caret, text, key, currentDateTime());
}

bool ParseEraDate(std::string_view text, TDateTime &date)
{
    const std::string_view first = bytesAt(text, 1, 2);
    std::optional<std::size_t> era;
    for (std::size_t i = 0; i < kEras.size(); ++i) {
        if (first.size() == 2 && eraName(i).compare(0, 2, first) == 0) {
            era = i;
            break;
        }
    }
    if (!era) {
        return false;
    }
    const std::optional<int> eraYear = readInteger(bytesAt(text, 5, 2));
    if (!eraYear) {
        return false;
    }
    const std::optional<int> month = readInteger(bytesAt(text, 9, 2));
    const std::optional<int> day = readInteger(bytesAt(text, 13, 2));
    const int year = kEras[*era].baseYear + *eraYear;
    if (!month || !day || !isValidDate(year, *month, *day)) {
        return false;
    }
    date = encodeDate(year, *month, *day);
    return true;
}

namespace {

bool before(const CivilDate &a, const CivilDate &b)
{
    if (a.year != b.year) {
        return a.year < b.year;
    }
    if (a.month != b.month) {
        return a.month < b.month;
    }
    return a.day < b.day;
}

std::string twoDigits(int value)
{
    std::string s = std::to_string(value < 0 ? -value : value);
    if (s.size() < 2) {
        s.insert(0, 2 - s.size(), '0');
    }
    return value < 0 ? "-" + s : s;
}

} // namespace

std::string FormatEraDate(TDateTime date)
{
    const CivilDate d = decodeDate(date);
    std::size_t era = 0;
    for (std::size_t i = 1; i < kEras.size(); ++i) {
        if (!before(d, kEras[i].firstDay)) {
            era = i;
        }
    }
    static const std::string nen = cp932::fromUtf8("年");
    static const std::string tsuki = cp932::fromUtf8("月");
    static const std::string hi = cp932::fromUtf8("日");
    return eraName(era) + twoDigits(d.year - kEras[era].baseYear) + nen + twoDigits(d.month) + tsuki +
           twoDigits(d.day) + hi;
}

int AgeInYears(TDateTime a, TDateTime b)
{
    const double span = std::fabs(a - b);
    if (!std::isfinite(span) || span / 365.25 > 2.0e9) {
        return 0;
    }
    return static_cast<int>(std::trunc(span / 365.25));
}
