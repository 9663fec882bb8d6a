#pragma once

// What the plan lock needs of the system, one function each: who and where
// this process is, whether a process still runs, exclusive creation of a
// file and reading a small one without blocking.

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>

namespace planlock::platform {

std::string userName();
std::string hostName();
long long processId();
// False only when the system says there is no such process.
bool processRunning(long long pid);
// Makes the file at `path` holding `text`, failing when anything is there.
bool createExclusive(const std::filesystem::path &path, const std::string &text);
// The first `limit` bytes (all, when it is shorter) of the regular file at
// `path`; nothing otherwise (no file, a FIFO, a device, a symbolic link,
// which is never followed).
std::optional<std::string> readFileStart(const std::filesystem::path &path, std::size_t limit);

} // namespace planlock::platform
