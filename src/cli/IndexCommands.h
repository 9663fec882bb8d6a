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
