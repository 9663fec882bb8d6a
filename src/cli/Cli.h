#pragma once

// The command-line tool `ovilant-plan`, callable in-process.
//
//   ovilant-plan render [--strict] PLAN.json OUT.pdf
//       Writes the plan file that the editor's save writes for that plan.
//       Every text that will not print whole (cut at its box's right edge or
//       below its bottom, and so lost from the file) gets a warning line on
//       the error stream; with --strict such a plan is refused (exit 1,
//       nothing written).
//       PLAN.json "-" reads standard input; OUT.pdf "-" writes to standard
//       output. When SOURCE_DATE_EPOCH is set (seconds since 1970-01-01 UTC),
//       it gives CreationDate, ModDate and the Creator time, so the same plan
//       always gives the same bytes.
//
//   ovilant-plan dump IN.pdf
//       Reads a plan file as the editor's open command does and prints, as
//       UTF-8 JSON in the form that render reads, the plan that the editor
//       would show and save again (see PlanDump.h). A file that is not a
//       plan, or that the reader refuses, exits 1 with the reason.
//
//   ovilant-plan check PLAN.json
//       Runs the checks before saving and the fit test over the plan and
//       prints the findings as JSON (see PlanFitReport.h); writes no file.
//       Exit 0 when the plan would be saved whole, 1 when it is refused or a
//       text would be cut.
//
// Exit status: 0 done; 1 the plan or file was refused, a file could not be
// read or written, or memory ran out (the reason on the error stream: a
// file the reader could not finish for want of memory gets the reader's
// message, anything else "ovilant-plan: out of memory"); 2 usage
// error; 3 (dump) the plan was printed, but it does not print what the file
// holds: the file was changed or damaged after it was written, and the
// first field where they part is named on the error stream.

#include <iosfwd>
#include <string>
#include <vector>

namespace cli {

constexpr int kExitOk = 0;
constexpr int kExitFailure = 1;
constexpr int kExitUsage = 2;
constexpr int kExitDamaged = 3;

// `args` are the arguments after the program name.
int run(const std::vector<std::string> &args, std::istream &in, std::ostream &out, std::ostream &err);

} // namespace cli
