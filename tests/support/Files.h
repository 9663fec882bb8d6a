#pragma once

// Files and temporary folders for tests.

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>

namespace testsupport {

// The whole file as bytes. Raises std::runtime_error naming the file when it
// cannot be opened, so a missing file is never mistaken for an empty one.
std::string readFile(const std::filesystem::path &path);

// Creates or truncates the file and writes `bytes`. Raises
// std::runtime_error naming the file on failure.
void writeFile(const std::filesystem::path &path, std::string_view bytes);

// The names of the entries of a folder, hidden ones included, sorted.
std::vector<std::string> folderEntries(const std::filesystem::path &folder);

// Paths that name something other than a regular file or folder, for tests
// that a program refuses them without waiting on them: a FIFO made in
// `folder` and the devices /dev/null and /dev/zero on POSIX systems, the NUL
// device on Windows.
std::vector<std::filesystem::path> nonRegularFiles(const std::filesystem::path &folder);

// Holds a file open the way another program that has it open would: with an
// exclusive advisory lock on POSIX systems, without sharing on Windows.
// Lets it go when the object goes.
class HeldOpen {
public:
    explicit HeldOpen(const std::filesystem::path &path);
    ~HeldOpen();
    HeldOpen(const HeldOpen &) = delete;
    HeldOpen &operator=(const HeldOpen &) = delete;

private:
    std::intptr_t m_handle = -1;
};

// A new, empty folder under the system's temporary folder with a unique
// name starting with `prefix`; removed with everything in it when the
// object goes.
class TempDir {
public:
    explicit TempDir(std::string_view prefix = "ovilant-test");
    ~TempDir();
    TempDir(const TempDir &) = delete;
    TempDir &operator=(const TempDir &) = delete;

    const std::filesystem::path &path() const { return m_path; }
    std::filesystem::path operator/(const std::filesystem::path &name) const { return m_path / name; }

private:
    std::filesystem::path m_path;
};

} // namespace testsupport
