#include "cli/Cli.h"
#include "cli/Program.h"

#include <iostream>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(true);
    program::useBinaryStandardStreams();
    return cli::run(program::arguments(argc, argv), std::cin, std::cout, std::cerr);
}
