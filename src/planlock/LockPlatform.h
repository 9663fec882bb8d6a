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
// The content of the regular file at `path` when it is at most `limit`
// bytes; nothing otherwise (no file, a FIFO, a device, too long).
std::optional<std::string> readSmallFile(const std::filesystem::path &path, std::size_t limit);

} // namespace planlock::platform
