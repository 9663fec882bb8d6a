#pragma once

// The plan file as a whole: its bytes, its name and writing it. The editor's
// save commands and the command-line tool both go through these functions,
// so the same plan, creator text and time always give the same file.

#include "plan/DateTime.h"
#include "plan/PracticePlanType.h"
#include "planfile/PlanLayouts.h"

#include <filesystem>
#include <string>
#include <string_view>

// The complete PDF file of `plan`: both pages laid out and written with
// Author "Ｒ１．０", Subject "ＲＩＨＡ", the given Creator (CP932) and `time`
// as CreationDate and ModDate, in `layout` (the newest, unless a test asks
// for another). Raises the writer's exceptions; nothing is left open on
// failure.
std::string MakePlanPdf(const TPRACTDATA &plan, const std::string &creator, TDateTime time,
                        const planfile::PlanLayout &layout = planfile::currentLayout());

// Writes MakePlanPdf(plan, creator, time) into the file at `path` (a native
// path), replacing an existing file only once the new one is complete.
// Raises EFCreateError or the writer's exceptions; on failure an existing
// file is untouched.
void SavePlanPdf(const std::filesystem::path &path, const TPRACTDATA &plan, const std::string &creator, TDateTime time);

// The plan's file name in CP932: "実施計画 " + Name + " " + year "_" month
// "_" day + ".pdf" from PlanDate, numbers without leading zeros
// (実施計画 山田太郎 2024_1_31.pdf). The name is used as it is.
std::string PlanFileName(const TPRACTDATA &plan);

// False when a CP932 file name holds a path separator ("/" or "\", not as
// the second byte of a double-byte character) or a null byte, i.e. when
// joining it to a folder could name a file outside that folder.
bool IsPlainFileName(std::string_view name);

// The Creator text of a plan file: the time of day of `time` as H:mm:ss,
// made full-width by FullWidthTimeText: 14:05:09 gives "１４：０５：０９".
// CP932.
std::string PlanCreatorText(TDateTime time);

// Every character of the CP932 text `text` in full-width form: 0-9 become
// ０-９, "." ．, "/" ／ and ":" ：; any other character (a double-byte one
// counts as one) becomes ０. The result is CP932.
std::string FullWidthTimeText(std::string_view text);
