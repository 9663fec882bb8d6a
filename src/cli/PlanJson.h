#pragma once

// The plan record as JSON (UTF-8), as read by `ovilant-plan render` and
// written by the commands that print a plan.
//
// Keys are the record's field names, in the record's order. Dates are
// "YYYY-MM-DD" or "YYYY-MM-DDTHH:MM:SS"; flags are booleans; memo texts use
// "\n" between lines (CR LF in the record); "ActivityItems" (13) and
// "MotionItems" (8) are arrays of row objects {"ABC": [5 strings], "Goods",
// "Kaigo", "Time", "Special"}; "Team" is an array of 13 strings for Team[1]
// to Team[13].

#include "plan/DateTime.h"
#include "plan/PracticePlanType.h"
#include "planfile/PlanCheck.h"
#include "planfile/PlanLayouts.h"

#include <nlohmann/json.hpp>

#include <optional>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace planjson {

// Top-level keys and row keys in the order they are written.
const std::vector<std::string> &planKeys();
const std::vector<std::string> &rowKeys();

// Why a JSON plan was refused: the key (a path such as "ActivityItems[3].Goods"
// or "Team[6]", array positions counted from 0 as in the JSON) and the message
// (UTF-8; the editor's own message where the editor checks the same thing).
struct Fault {
    std::string key;
    std::string message;
    // "key: message"
    std::string text() const { return key + ": " + message; }
};

// Reads and validates a plan. A missing key takes the starting value of a
// new plan (both dates `now`); a missing or null "Age" is computed from the
// two dates. The checks are those the editor makes before saving, in the
// same order, stopping at the first fault: byte limits in CP932 with the
// editor's messages, readable era dates, HDS 0 to 30; besides, every text
// must be representable in CP932, single-line fields hold no line break,
// no text holds a control character other than a memo's line breaks, and
// every value has its type and range (a number outside it is refused,
// however large). Unknown keys are refused.
//
// A fault names the key that is wrong: the keys after it are not read, and
// take the values a missing key would, so that no check reports a later
// key instead. "Age" takes an integer from 0 to 999 (what the form prints).
//
// With `lookAlikes`, it receives every character of a text that code page
// 932 holds only as a look-alike, which the plan then holds instead (the
// wave dash 〜 as ～, the yen sign as \), once per key.
struct LookAlikeChange {
    std::string key;
    std::string from; // UTF-8
    std::string to;   // UTF-8
};
std::variant<TPRACTDATA, Fault> planFromJson(const nlohmann::json &json, TDateTime now,
                                             std::vector<LookAlikeChange> *lookAlikes = nullptr);

// Parses the text of a JSON plan strictly: one JSON value and nothing after
// it (blanks aside), no NUL byte anywhere, no key twice in one object, no
// number beyond the range of a double, and no nesting deeper than a plan's
// four levels (checked before parsing). On failure `error` says why (UTF-8)
// and the result is null. Time and memory grow linearly with the text.
nlohmann::json parseJsonText(std::string_view text, std::string &error);

// The record as JSON in key order (the inverse of planFromJson for a valid
// plan), with the fields of `layout` (a plan read from a file: the file's).
nlohmann::ordered_json planToJson(const TPRACTDATA &plan,
                                  const planfile::PlanLayout &layout = planfile::currentLayout());

// "YYYY-MM-DD" at midnight, else "YYYY-MM-DDTHH:MM:SS".
std::string formatDate(TDateTime value);
// The inverse; nothing for any other shape or an impossible date or time.
std::optional<TDateTime> parseDate(std::string_view text);

} // namespace planjson
