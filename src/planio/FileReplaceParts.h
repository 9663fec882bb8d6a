#pragma once

// What the platform files of ReplaceFile (FileReplacePosix.cpp,
// FileReplaceWin.cpp) share: the exception with the file's name, the
// temporary file's name and the clearing of temporaries left by crashed saves.

#include "planio/FileReplace.h"

#include <filesystem>
#include <string>

namespace filereplace {

// Raises EFCreateError naming `path` (as UTF-8) and the reason.
[[noreturn]] void fail(const std::filesystem::path &path, const std::string &reason,
                       FileFault fault = FileFault::System, int error = 0);
// Raises EFCreateError for the system error `error` (an errno value).
[[noreturn]] void failSystem(const std::filesystem::path &path, int error, const std::string &detail = {});

// A fresh temporary name in `folder` (".ovilant-<digits>.tmp").
std::filesystem::path temporaryName(const std::filesystem::path &folder);

// Removes the temporary files of earlier saves that died before their
// rename: only regular files of our own name pattern that are old enough;
// any error just leaves the file.
void removeStaleTemporaries(const std::filesystem::path &folder);

} // namespace filereplace
