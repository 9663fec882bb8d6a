#include "cli/Cli.h"
#include "cli/Program.h"
#include "desktop/Arguments.h"

#include <iostream>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(true);
    program::useBinaryStandardStreams();
    return cli::run(desktop::commandLineArguments(argc, argv), std::cin, std::cout, std::cerr);
}
