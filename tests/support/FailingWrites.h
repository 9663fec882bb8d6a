#pragma once

// Writers that fail part-way, to test that a failed save reports the
// failure and leaves nothing half-done (FileSizeLimit.h: files that fail).

#include <cstddef>
#include <string>
#include <string_view>

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

} // namespace testsupport
