// Stands in for ovilant-print in the test of `ovilant-plan print`: prints
// the name it was started under and each argument on a line of its own
// (UTF-8), then exits with status 3.

#include "desktop/Arguments.h"

#include <cstdio>
#include <filesystem>

int main(int argc, char **argv)
{
    std::printf("%s\n", argc > 0 ? std::filesystem::path(argv[0]).stem().string().c_str() : "");
    for (const std::string &argument : desktop::commandLineArguments(argc, argv)) {
        std::printf("[%s]\n", argument.c_str());
    }
    return 3;
}
