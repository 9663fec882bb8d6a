#include "cli/Cli.h"

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(true);
    const std::vector<std::string> args(argv + 1, argv + argc);
    return cli::run(args, std::cin, std::cout, std::cerr);
}
