#include "support/Processes.h"

#include "support/Files.h"

#include <cstdlib>
#include <sys/wait.h>

namespace testsupport {

RunResult runCommand(const std::string &command)
{
    const TempDir dir("ovilant-run");
    const auto out = dir / "out";
    const auto err = dir / "err";
    const std::string full = "( " + command + " ) >" + shellQuote(out.string()) + " 2>" + shellQuote(err.string());
    RunResult result;
    const int status = std::system(full.c_str());
    if (status != -1 && WIFEXITED(status)) {
        result.status = WEXITSTATUS(status);
    }
    result.out = readFile(out);
    result.err = readFile(err);
    return result;
}

bool toolInstalled(std::string_view tool)
{
    const std::string command = "command -v " + shellQuote(tool) + " >/dev/null 2>&1";
    return std::system(command.c_str()) == 0;
}

void setEnvironment(const std::string &name, const std::string &value)
{
    ::setenv(name.c_str(), value.c_str(), 1);
}

void unsetEnvironment(const std::string &name)
{
    ::unsetenv(name.c_str());
}

} // namespace testsupport
