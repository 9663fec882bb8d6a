#include "desktop/Arguments.h"

#include <cstdio>

namespace desktop {

std::vector<std::string> commandLineArguments(int argc, char **argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

void useParentConsole() {}

void writeText(bool toStdErr, const std::string &text)
{
    std::fputs(text.c_str(), toStdErr ? stderr : stdout);
}

} // namespace desktop
