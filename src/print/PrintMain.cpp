#include "print/PrintCommand.h"
#include "desktop/Arguments.h"

#include <iostream>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(true);
    return cli::runPrint(argc, argv, desktop::commandLineArguments(argc, argv), std::cout, std::cerr);
}
