#include "support/Files.h"

#include <stdexcept>

#include <sys/stat.h>

namespace testsupport {

std::vector<std::filesystem::path> nonRegularFiles(const std::filesystem::path &folder)
{
    const std::filesystem::path fifo = folder / "fifo.pdf";
    if (::mkfifo(fifo.c_str(), 0600) != 0) {
        throw std::runtime_error("cannot make the FIFO " + fifo.string());
    }
    return {fifo, "/dev/null", "/dev/zero"};
}

} // namespace testsupport
