#pragma once

// Running the command-line tool in-process, outside programs through the
// shell, and skipping a test when an outside program is not installed.

#include <functional>
#include <initializer_list>
#include <iosfwd>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

struct RunResult {
    int status = -1; // exit status; -1 when the program could not be run
    std::string out; // what it wrote to its standard output
    std::string err; // what it wrote to its standard error
};

// A command-line entry point taking its arguments (without the program
// name) and its three standard streams, returning the exit status.
using MainFunction =
    std::function<int(const std::vector<std::string> &, std::istream &, std::ostream &, std::ostream &)>;

// Calls `main` with `args`, `input` as standard input, and captures both
// output streams.
RunResult runInProcess(const MainFunction &main, const std::vector<std::string> &args,
                       const std::string &input = {});

// Runs `command` with /bin/sh; standard output and error are captured
// separately. Windows has no such shell: there the status is -1 and the
// error says so (tests that need it skip with OVILANT_SKIP_WITHOUT("sh")).
RunResult runCommand(const std::string &command);

// `text` quoted for /bin/sh.
std::string shellQuote(std::string_view text);

// True when `tool` is found on PATH. Always false on Windows, where the
// outside tools of the tests (sh, qpdf, pdftotext, ...) are not run.
bool toolInstalled(std::string_view tool);

// Sets or removes a variable of this process's environment. On Windows an
// empty value removes the variable.
void setEnvironment(const std::string &name, const std::string &value);
void unsetEnvironment(const std::string &name);

// Empty when every tool is installed, otherwise the reason to skip: which
// tools are missing and where they come from.
std::string missingTools(std::initializer_list<std::string_view> tools);

} // namespace testsupport

// Skips the current test (GTEST_SKIP) with the reason when one of the named
// outside tools is missing: OVILANT_SKIP_WITHOUT("qpdf", "pdftotext");
#define OVILANT_SKIP_WITHOUT(...)                                                                                    \
    if (const std::string ovilantMissingTools_ = ::testsupport::missingTools({__VA_ARGS__});                         \
        ovilantMissingTools_.empty()) {                                                                              \
    } else                                                                                                           \
        GTEST_SKIP() << ovilantMissingTools_
