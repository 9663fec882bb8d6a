#include "support/Processes.h"

#include "support/Files.h"

#include <sstream>

namespace testsupport {

RunResult runInProcess(const MainFunction &main, const std::vector<std::string> &args, const std::string &input)
{
    std::istringstream in(input);
    std::ostringstream out;
    std::ostringstream err;
    RunResult result;
    result.status = main(args, in, out, err);
    result.out = out.str();
    result.err = err.str();
    return result;
}

std::string shellQuote(std::string_view text)
{
    std::string quoted = "'";
    for (char c : text) {
        if (c == '\'') {
            quoted += "'\\''";
        } else {
            quoted += c;
        }
    }
    return quoted + "'";
}

std::string missingTools(std::initializer_list<std::string_view> tools)
{
    std::string missing;
    int count = 0;
    for (std::string_view tool : tools) {
        if (!toolInstalled(tool)) {
            missing += (missing.empty() ? "" : ", ") + std::string(tool);
            ++count;
        }
    }
    if (count == 0) {
        return {};
    }
    return "not installed: " + missing + " (scripts/install-deps.sh installs " + (count == 1 ? "it)" : "them)");
}

} // namespace testsupport
