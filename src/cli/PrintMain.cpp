#include "cli/PrintCommand.h"
#include "cli/Program.h"

#include <iostream>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(true);
    return cli::runPrint(argc, argv, program::arguments(argc, argv), std::cout, std::cerr);
}
