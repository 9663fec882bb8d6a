#pragma once

// A program's arguments as UTF-8, for the editor and the command-line tools
// alike. One file per platform (ArgumentsWin.cpp, ArgumentsPosix.cpp).

#include <string>
#include <vector>

namespace desktop {

// The arguments after the program name, as UTF-8. On Windows they are taken
// from the wide command line, so that a Japanese file name survives whatever
// the ANSI code page; elsewhere they are argv as given.
std::vector<std::string> commandLineArguments(int argc, char **argv);

// Lets a windowed program answer on the console it was started from: on
// Windows a program without a console of its own writes its standard
// output and error to its parent's console, unless they are already
// redirected (to a file or a pipe). Elsewhere nothing changes.
void useParentConsole();

// Writes UTF-8 text to standard output (or error). On Windows a console is
// written in UTF-16, so that Japanese shows whatever its code page; a file
// or a pipe gets the UTF-8 bytes, as ovilant-plan writes them.
void writeText(bool toStdErr, const std::string &text);

} // namespace desktop
