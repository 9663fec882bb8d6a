#include "pdfreader/ReadOnlyFile.h"

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace pdfreader {

std::unique_ptr<ReadOnlyFile> ReadOnlyFile::open(const std::filesystem::path &path)
{
    // Opening a FIFO for reading waits for a writer unless it is opened
    // without blocking; what was opened is then looked at before any read.
    int fd = -1;
    do {
        fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        return nullptr;
    std::unique_ptr<ReadOnlyFile> file(new ReadOnlyFile);
    file->m_handle = fd;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0)
        return nullptr;
    file->m_size = static_cast<std::int64_t>(info.st_size);
    return file;
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (m_handle >= 0)
        ::close(static_cast<int>(m_handle));
}

std::size_t ReadOnlyFile::readAt(std::int64_t position, char *buffer, std::size_t count)
{
    std::size_t got = 0;
    while (got < count) {
        const ssize_t n =
            ::pread(static_cast<int>(m_handle), buffer + got, count - got, static_cast<off_t>(position) + static_cast<off_t>(got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += static_cast<std::size_t>(n);
    }
    return got;
}

void ReadOnlyFile::readAhead()
{
#ifdef POSIX_FADV_WILLNEED
    ::posix_fadvise(static_cast<int>(m_handle), 0, 0, POSIX_FADV_WILLNEED);
#endif
}

} // namespace pdfreader
