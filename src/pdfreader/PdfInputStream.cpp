#include "pdfreader/PdfInputStream.h"

#include "pdfreader/PdfReadError.h"

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#include <filesystem>
#include <system_error>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
constexpr std::int64_t WindowSize = 64 * 1024;
}

std::string pdfreader::hexPosition(std::int64_t position)
{
    char text[32];
    std::snprintf(text, sizeof text, "%08llX", static_cast<unsigned long long>(position));
    return text;
}

TPdfInputStream::~TPdfInputStream()
{
#ifndef _WIN32
    if (m_fd >= 0)
        ::close(m_fd);
#endif
}

std::unique_ptr<TPdfInputStream> TPdfInputStream::fromFile(const std::string &fileName)
{
    std::unique_ptr<TPdfInputStream> stream(new TPdfInputStream);
#ifdef _WIN32
    // Only a regular file: a device name or a folder would never read as one.
    std::error_code error;
    if (!std::filesystem::is_regular_file(std::filesystem::u8path(fileName), error))
        throw EPdfReadError("PDF FILE OPEN ERROR : ", fileName);
    stream->m_file.open(std::filesystem::u8path(fileName), std::ios::binary | std::ios::in);
    if (!stream->m_file.is_open())
        throw EPdfReadError("PDF FILE OPEN ERROR : ", fileName);
    stream->m_file.seekg(0, std::ios::end);
    const std::streamoff end = stream->m_file.tellg();
    if (end < 0)
        throw EPdfReadError("PDF FILE OPEN ERROR : ", fileName);
    stream->m_size = static_cast<std::int64_t>(end);
#else
    // Opening a FIFO for reading waits for a writer unless it is opened
    // without blocking; what was opened is then looked at before any read.
    int fd = -1;
    do {
        fd = ::open(fileName.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    } while (fd < 0 && errno == EINTR);
    if (fd < 0)
        throw EPdfReadError("PDF FILE OPEN ERROR : ", fileName);
    stream->m_fd = fd;
    struct stat info {};
    if (::fstat(fd, &info) != 0 || !S_ISREG(info.st_mode) || info.st_size < 0)
        throw EPdfReadError("PDF FILE OPEN ERROR : ", fileName);
    stream->m_size = static_cast<std::int64_t>(info.st_size);
#endif
    stream->setDefaultLimit();
    return stream;
}

std::unique_ptr<TPdfInputStream> TPdfInputStream::fromBytes(std::string bytes)
{
    std::unique_ptr<TPdfInputStream> stream(new TPdfInputStream);
    stream->m_inMemory = true;
    stream->m_window = std::move(bytes);
    stream->m_data = stream->m_window;
    stream->m_size = static_cast<std::int64_t>(stream->m_data.size());
    stream->m_windowStart = 0;
    stream->m_windowEnd = stream->m_size;
    stream->setDefaultLimit();
    return stream;
}

std::unique_ptr<TPdfInputStream> TPdfInputStream::fromView(std::string_view bytes)
{
    std::unique_ptr<TPdfInputStream> stream(new TPdfInputStream);
    stream->m_inMemory = true;
    stream->m_data = bytes;
    stream->m_size = static_cast<std::int64_t>(bytes.size());
    stream->m_windowStart = 0;
    stream->m_windowEnd = stream->m_size;
    stream->setDefaultLimit();
    return stream;
}

void TPdfInputStream::fill(std::int64_t position)
{
    m_windowStart = position;
    m_windowEnd = position;
    m_window.clear();
    m_data = std::string_view();
    if (m_inMemory || position >= m_size)
        return;
    const std::int64_t count = std::min(WindowSize, m_size - position);
    m_window.resize(static_cast<std::size_t>(count));
    std::int64_t got = 0;
#ifdef _WIN32
    m_file.clear();
    m_file.seekg(static_cast<std::streamoff>(position));
    m_file.read(m_window.data(), static_cast<std::streamsize>(count));
    got = std::max<std::int64_t>(m_file.gcount(), 0);
#else
    while (got < count) {
        const ssize_t n = ::pread(m_fd, m_window.data() + got, static_cast<std::size_t>(count - got),
                                  static_cast<off_t>(position + got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n <= 0)
            break;
        got += n;
    }
#endif
    m_window.resize(static_cast<std::size_t>(got));
    m_data = m_window;
    m_windowEnd = position + got;
}

bool TPdfInputStream::readByteSlow(unsigned char &byte)
{
    if (m_position >= m_size || m_inMemory)
        return false;
    fill(m_position);
    if (m_position >= m_windowEnd)
        return false;
    byte = static_cast<unsigned char>(m_data[0]);
    ++m_position;
    return true;
}

void TPdfInputStream::readLimitReached() const
{
    throw EPdfReadError("PDF READ LIMIT ERROR Address : " + pdfreader::hexPosition(m_position));
}

std::string TPdfInputStream::read(std::int64_t count)
{
    std::string result;
    if (count <= 0 || m_position >= m_size)
        return result;
    count = std::min(count, m_size - m_position);
    if (m_inMemory) {
        m_readCount += count;
        if (m_readCount > m_readLimit)
            readLimitReached();
        result.assign(m_data.substr(static_cast<std::size_t>(m_position), static_cast<std::size_t>(count)));
        m_position += count;
        return result;
    }
    // Whole runs of the window at a time: a content stream of megabytes is
    // copied, not read byte by byte. Every byte still counts against the
    // read limit.
    result.reserve(static_cast<std::size_t>(count));
    while (count > 0) {
        if (m_position < m_windowStart || m_position >= m_windowEnd) {
            fill(m_position);
            if (m_position >= m_windowEnd)
                break;
        }
        const std::int64_t run = std::min(count, m_windowEnd - m_position);
        if (run > m_readLimit - m_readCount) {
            // Stopped at the first byte beyond the limit, as readByte stops.
            m_position += std::max<std::int64_t>(m_readLimit - m_readCount, 0);
            readLimitReached();
        }
        m_readCount += run;
        result.append(
            m_data.substr(static_cast<std::size_t>(m_position - m_windowStart), static_cast<std::size_t>(run)));
        m_position += run;
        count -= run;
    }
    return result;
}
