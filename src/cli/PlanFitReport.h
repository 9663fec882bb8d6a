#pragma once

// What `ovilant-plan` says about texts that will not print whole: a warning
// line per cut field for `render`, and the findings of `check` as JSON.
// Everything printed is UTF-8; keys are the plan's JSON keys.

#include "cli/PlanJson.h"
#include "plan/DateTime.h"
#include "report/PlanFit.h"

#include <nlohmann/json.hpp>

#include <iosfwd>
#include <vector>

namespace planfitreport {

// One line per field on `err`:
//   ovilant-plan: warning: Name: will not print: line 1 beyond the right edge "九十"
// with "; line N and below "…"" for lines that fall below the box; the
// parts are JSON strings (line breaks as \r\n).
void printWarnings(const std::vector<planfit::FieldFit> &cuts, std::ostream &err);

// One line per character code page 932 holds only as a look-alike:
//   ovilant-plan: warning: Name: "〜" is saved as "～"
void printLookAlikes(const std::vector<planjson::LookAlikeChange> &changes, std::ostream &err);

// The fit of one field as JSON:
//   {"key": "Kenkou", "wideLines": [{"line": 2, "lost": "…"}],
//    "belowBox": {"firstLine": 7, "lost": "…"} or null}
nlohmann::ordered_json fitToJson(const planfit::FieldFit &fit);

// Runs the checks before saving and the fit test over a JSON plan and
// prints {"fault": {"key", "message"} or null, "cut": [fits],
// "lookAlikes": [{"key", "from", "to"}]} on `out` (look-alikes as
// planFromJson lists them; they do not change the status); a refused plan
// is not measured. Writes no file. Returns the exit status:
// 0 when the plan would be saved whole, 1 when it is refused or a text
// would be cut.
int check(const nlohmann::json &plan, TDateTime now, std::ostream &out);

} // namespace planfitreport
