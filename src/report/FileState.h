#pragma once

// What the save and open commands ask about a plan file on disk before they
// touch it: whether another program holds it, and which file it is. One
// source file per platform (FileStatePosix.cpp, FileStateWin.cpp).

#include <cstdint>
#include <filesystem>
#include <optional>

// True when an existing regular file at `path` is held by another program:
// on Windows it cannot be opened for reading with exclusive sharing;
// elsewhere it cannot be opened for reading, or a non-blocking exclusive
// advisory lock on it is refused. A path naming no file, or something other
// than a regular file (a folder, a FIFO, a device), is never in use. The
// test opens without blocking, closes the file at once and changes nothing.
bool FileInUse(const std::filesystem::path &path);

// Which file is at a path now: a file replaced by another (a save renames a
// new file over the old one) has another identity even with the same size
// and time.
struct FileIdentity {
    std::uint64_t device = 0; // the file system (Windows: the volume's serial number)
    std::uint64_t file = 0;   // the file in it (the inode; Windows: the file index)
    std::int64_t size = 0;
    std::int64_t modified = 0; // nanoseconds since 1970 (in steps of 100 ns on Windows)
    friend bool operator==(const FileIdentity &, const FileIdentity &) = default;
};

// The identity of the regular file at `path` (links followed); nothing when
// there is none.
std::optional<FileIdentity> IdentifyFile(const std::filesystem::path &path);
