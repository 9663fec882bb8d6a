#pragma once

// Writers that fail part-way, to test that a failed save reports the
// failure and leaves nothing half-done.

#include <cstddef>
#include <string>
#include <string_view>

#include <sys/resource.h>

namespace testsupport {

// A byte sink that takes the first `limit` bytes and then refuses: write()
// keeps what still fits and returns false as soon as a write does not fit
// completely.
class FailAfter {
public:
    explicit FailAfter(std::size_t limit) : m_limit(limit) {}
    bool write(std::string_view bytes);
    const std::string &written() const { return m_written; }

private:
    std::size_t m_limit;
    std::string m_written;
};

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
