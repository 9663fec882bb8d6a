#include "cli/Cli.h"
#ifdef OVILANT_PRINT_COMMAND
#include "cli/PrintCommand.h"
#endif

#include <iostream>
#include <string>
#include <vector>

int main(int argc, char **argv)
{
    std::ios::sync_with_stdio(true);
    const std::vector<std::string> args(argv + 1, argv + argc);
#ifdef OVILANT_PRINT_COMMAND
    if (!args.empty() && args[0] == "print") {
        return cli::runPrint(argc, argv, args, std::cout, std::cerr);
    }
#endif
    return cli::run(args, std::cin, std::cout, std::cerr);
}
