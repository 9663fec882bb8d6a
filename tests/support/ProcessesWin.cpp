#include "support/Processes.h"

#include <cstdlib>

namespace testsupport {

RunResult runCommand(const std::string &command)
{
    RunResult result;
    result.err = "no POSIX shell on Windows to run: " + command;
    return result;
}

bool toolInstalled(std::string_view)
{
    return false;
}

void setEnvironment(const std::string &name, const std::string &value)
{
    _putenv_s(name.c_str(), value.c_str());
}

void unsetEnvironment(const std::string &name)
{
    _putenv_s(name.c_str(), ""); // an empty value removes the variable
}

} // namespace testsupport
