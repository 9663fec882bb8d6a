#pragma once

// Running out of memory on purpose: in a program linked with
// ovilant_failingalloc, while a FailingAllocations lives, operator new
// throws std::bad_alloc for any request above `largestBytes`, on every
// thread, as an exhausted heap would.

#include <cstddef>

namespace testsupport {

struct FailingAllocations {
    explicit FailingAllocations(std::size_t largestBytes);
    ~FailingAllocations();
    FailingAllocations(const FailingAllocations &) = delete;
    std::size_t before;
};

} // namespace testsupport
