#pragma once

// What the command-line programs need from the operating system beyond
// standard C++ (their arguments: desktop/Arguments.h): standard streams
// that carry bytes unchanged, their own folder, the cache folder, and
// starting a sibling program. One source
// file per platform implements it (ProgramPosix.cpp, ProgramWin.cpp).

#include <filesystem>
#include <string>
#include <vector>

namespace program {

// ".exe" on Windows, empty elsewhere: the suffix of a program's file name.
extern const char *const kExecutableSuffix;

// Standard input and output carry bytes as they are: no CR LF translation
// (a PDF written to standard output stays the same file).
void useBinaryStandardStreams();

// The folder holding the running program's file; empty when the system does
// not say.
std::filesystem::path ownFolder();

// The user's cache folder for the tool: $XDG_CACHE_HOME/ovilant, else
// ~/.cache/ovilant; on Windows %LOCALAPPDATA%\ovilant. Empty when the
// system names none.
std::filesystem::path cacheFolder();

// Runs `program` with `args` (UTF-8, without the program name) on this
// process's standard streams and waits for it; `name` is what the program
// sees as its own name (argv[0]). Its exit status; -1 when it
// could not be started, 1 when it ended abnormally (a signal, a crash).
int runAndWait(const std::filesystem::path &program, const std::string &name, const std::vector<std::string> &args);

} // namespace program
