#include "support/FailingAllocations.h"

#include <atomic>
#include <cstdlib>
#include <limits>
#include <new>

namespace {
std::atomic<std::size_t> largestAllowed{std::numeric_limits<std::size_t>::max()};
} // namespace

testsupport::FailingAllocations::FailingAllocations(std::size_t largestBytes)
    : before(largestAllowed.exchange(largestBytes))
{
}
testsupport::FailingAllocations::~FailingAllocations() { largestAllowed = before; }

// Every form of new and delete goes through malloc and free, so that they
// always match (AddressSanitizer checks that they do).
void *operator new(std::size_t bytes)
{
    void *p = bytes > largestAllowed ? nullptr : std::malloc(bytes == 0 ? 1 : bytes);
    if (p == nullptr) {
        throw std::bad_alloc();
    }
    return p;
}
void *operator new[](std::size_t bytes) { return operator new(bytes); }
void *operator new(std::size_t bytes, const std::nothrow_t &) noexcept
{
    return bytes > largestAllowed ? nullptr : std::malloc(bytes == 0 ? 1 : bytes);
}
void *operator new[](std::size_t bytes, const std::nothrow_t &tag) noexcept { return operator new(bytes, tag); }
void operator delete(void *p) noexcept { std::free(p); }
void operator delete[](void *p) noexcept { std::free(p); }
void operator delete(void *p, std::size_t) noexcept { std::free(p); }
void operator delete[](void *p, std::size_t) noexcept { std::free(p); }
void operator delete(void *p, const std::nothrow_t &) noexcept { std::free(p); }
void operator delete[](void *p, const std::nothrow_t &) noexcept { std::free(p); }
