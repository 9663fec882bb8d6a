#pragma once

// Files that cannot grow past a size, through the process's file size
// limit. POSIX systems only.

#include <cstddef>

#include <sys/resource.h>

namespace testsupport {

// While it lives, no file of this process can grow past `bytes` bytes: a
// write beyond that fails with EFBIG (the process's file size limit, with
// SIGXFSZ ignored so the write fails instead of ending the process). Puts
// the old limit and signal handling back when it goes. Affects every file
// this process writes meanwhile, so keep it around the one call under test.
class FileSizeLimit {
public:
    explicit FileSizeLimit(std::size_t bytes);
    ~FileSizeLimit();
    FileSizeLimit(const FileSizeLimit &) = delete;
    FileSizeLimit &operator=(const FileSizeLimit &) = delete;

private:
    rlimit m_old{};
    void (*m_oldHandler)(int) = nullptr;
};

} // namespace testsupport
