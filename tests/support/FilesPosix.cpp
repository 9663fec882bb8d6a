#include "support/Files.h"

#include <stdexcept>

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace testsupport {

std::vector<std::filesystem::path> nonRegularFiles(const std::filesystem::path &folder)
{
    const std::filesystem::path fifo = folder / "fifo.pdf";
    if (::mkfifo(fifo.c_str(), 0600) != 0) {
        throw std::runtime_error("cannot make the FIFO " + fifo.string());
    }
    return {fifo, "/dev/null", "/dev/zero"};
}

HeldOpen::HeldOpen(const std::filesystem::path &path) : m_handle(::open(path.c_str(), O_RDONLY | O_CLOEXEC))
{
    if (m_handle < 0 || ::flock(static_cast<int>(m_handle), LOCK_EX) != 0) {
        throw std::runtime_error("cannot hold " + path.string());
    }
}

HeldOpen::~HeldOpen()
{
    ::close(static_cast<int>(m_handle));
}

} // namespace testsupport
