#include "desktop/Arguments.h"

namespace desktop {

std::vector<std::string> commandLineArguments(int argc, char **argv)
{
    return std::vector<std::string>(argv + 1, argv + argc);
}

void useParentConsole() {}

} // namespace desktop
