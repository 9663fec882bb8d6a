#pragma once

// `ovilant-print FILE.pdf... [--printer NAME] [--to OUT.pdf]`, also run as
// `ovilant-plan print ...`. A program of its own, so that ovilant-plan
// loads no Qt library.
//
// Prints saved plan files through Ovilant's own painter, in the Gothic
// faces of the layout, two A4 pages per plan: to the default printer, to the
// printer NAME, or with --to into one PDF file with embedded fonts (written
// whole or not at all). Needs no display: without one the tool draws on
// Qt's offscreen platform.
//
// Exit status as for the other commands: 0 done; 1 a file is not a plan or
// cannot be read (the reader's message, nothing printed), the printer is
// missing or the output cannot be written; 2 usage error.

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

// `args` are the arguments after the program name (UTF-8); argc and argv
// are the program's own, for Qt. Messages start with "ovilant-print: ", or
// with "ovilant-plan: " when argv[0] names ovilant-plan (as `ovilant-plan
// print` starts it).
int runPrint(int &argc, char **argv, const std::vector<std::string> &args, std::ostream &out, std::ostream &err);

} // namespace cli
