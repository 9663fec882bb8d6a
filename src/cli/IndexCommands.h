#pragma once

// The commands of `ovilant-plan` over several plan files:
//
//   ovilant-plan index FOLDER [--csv]
//       Lists the plan files of FOLDER (its own .pdf files, not those of
//       sub-folders), newest first: one JSON object per line, or CSV with a
//       header line. Every text is UTF-8. Files that are not plans go to the
//       error stream with the reader's message. What was read is cached in
//       $XDG_CACHE_HOME/ovilant (else ~/.cache/ovilant; on Windows
//       %LOCALAPPDATA%\ovilant), so that only new and changed files are read
//       again.
//
//   ovilant-plan index FOLDER --due [--months N] [--on YYYY-MM-DD] [--csv]
//       The patients (name without blanks and birth date) whose next review
//       date, the latest plan's date + N months (default 3, 1 to 24), is on
//       or before the day given (default today), soonest first: name, birth
//       date, latest plan date, next review date and the latest plan's file,
//       as JSON lines or CSV. Nobody due is no error: nothing is printed
//       (CSV: the header alone) and the exit status is 0.
//
//   ovilant-plan diff OLD.pdf NEW.pdf
//       The fields whose values differ between two plans, as JSON with the
//       form's captions.
//
// Exit status as for the other commands (Cli.h).

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

extern const char *const kIndexUsage;
extern const char *const kDiffUsage;

// `args` begin with the command's own name.
int indexCommand(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);
int diffCommand(const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

} // namespace cli
