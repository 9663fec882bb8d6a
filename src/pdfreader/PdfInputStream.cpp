#include "pdfreader/PdfInputStream.h"

#include "pdfreader/PdfReadError.h"
#include "pdfreader/ReadOnlyFile.h"
#include "plan/FilePath.h"

#include <algorithm>
#include <cstdio>

namespace {
constexpr std::int64_t WindowSize = 64 * 1024;
}

std::string pdfreader::hexPosition(std::int64_t position)
{
    char text[32];
    std::snprintf(text, sizeof text, "%08llX", static_cast<unsigned long long>(position));
    return text;
}

TPdfInputStream::~TPdfInputStream() = default;

std::unique_ptr<TPdfInputStream> TPdfInputStream::fromFile(const std::filesystem::path &fileName)
{
    std::unique_ptr<TPdfInputStream> stream(new TPdfInputStream);
    stream->m_file = pdfreader::ReadOnlyFile::open(fileName);
    if (!stream->m_file)
        throw EPdfReadError("PDF FILE OPEN ERROR : ", utf8FromPath(fileName));
    stream->m_size = stream->m_file->size();
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
    const auto got =
        static_cast<std::int64_t>(m_file->readAt(position, m_window.data(), static_cast<std::size_t>(count)));
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

std::string_view TPdfInputStream::readView(std::int64_t count, std::string &storage)
{
    if (count > 0 && m_position < m_size) {
        const std::int64_t n = std::min(count, m_size - m_position);
        if (m_position >= m_windowStart && n <= m_windowEnd - m_position && n <= m_readLimit - m_readCount) {
            m_readCount += n;
            const std::string_view view =
                m_data.substr(static_cast<std::size_t>(m_position - m_windowStart), static_cast<std::size_t>(n));
            m_position += n;
            return view;
        }
    }
    storage = read(count);
    return storage;
}
