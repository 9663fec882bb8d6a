#pragma once

#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <memory>

namespace pdfreader {

// A regular file opened for reading at any position, while others may keep
// it open for reading and writing. One source file per platform
// (ReadOnlyFilePosix.cpp, ReadOnlyFileWin.cpp).
class ReadOnlyFile {
public:
    // Opens `path` when it names a regular file; nothing when it does not
    // (missing, not permitted, a folder, a pipe, a device), without ever
    // waiting on it.
    static std::unique_ptr<ReadOnlyFile> open(const std::filesystem::path &path);
    ~ReadOnlyFile();
    ReadOnlyFile(const ReadOnlyFile &) = delete;
    ReadOnlyFile &operator=(const ReadOnlyFile &) = delete;

    // The size in bytes when it was opened.
    std::int64_t size() const { return m_size; }

    // Reads up to `count` bytes starting at `position` into `buffer`: the
    // number read, fewer only at the end of the file or on a read error.
    std::size_t readAt(std::int64_t position, char *buffer, std::size_t count);

    // Asks the system to start reading the whole file into its cache now and
    // returns without waiting for it: whoever reads it soon then finds it
    // there instead of waiting for the disk. Only a hint; where the system
    // takes none it does nothing.
    void readAhead();

private:
    ReadOnlyFile() = default;
    std::intptr_t m_handle = -1; // a descriptor on POSIX systems, a HANDLE on Windows
    std::int64_t m_size = 0;
};

} // namespace pdfreader
