#pragma once

#include <cstdint>
#include <filesystem>
#include <memory>
#include <string>
#include <string_view>

namespace pdfreader {
class ReadOnlyFile;
}

// A read-only, seekable byte stream over a file or over bytes in memory, with
// 64-bit positions. File input goes through a window buffer so that the
// reader's byte-at-a-time routines do not turn into one system call per
// byte. Seeking anywhere (also past the end) is allowed; reads there simply
// find no bytes.
class TPdfInputStream {
public:
    // Opens the file for reading; others may keep it open for reading and
    // writing meanwhile. Only a regular file is read: a pipe, a device or a
    // folder is refused, without ever waiting on it, like a file that
    // cannot be opened, with EPdfReadError("PDF FILE OPEN ERROR : ", name).
    static std::unique_ptr<TPdfInputStream> fromFile(const std::filesystem::path &fileName);
    static std::unique_ptr<TPdfInputStream> fromBytes(std::string bytes);
    // Reads bytes owned by the caller, which must outlive the stream.
    static std::unique_ptr<TPdfInputStream> fromView(std::string_view bytes);
    ~TPdfInputStream();
    TPdfInputStream(const TPdfInputStream &) = delete;
    TPdfInputStream &operator=(const TPdfInputStream &) = delete;

    std::int64_t size() const { return m_size; }
    std::int64_t position() const { return m_position; }
    void seek(std::int64_t position) { m_position = position < 0 ? 0 : position; }
    bool atEnd() const { return m_position >= m_size; }

    // Every byte delivered counts against a limit: by default 8 times the
    // size of the input plus 8 MiB, which keeps any input under a second. Our own files read each byte a few
    // times; a file built so that its parts are read again and again (one
    // dictionary shared by thousands of pages, say) is stopped with
    // "PDF READ LIMIT ERROR Address : " and the position instead of keeping
    // the reader busy for hours.
    void setReadLimit(std::int64_t bytes) { m_readLimit = bytes; }
    std::int64_t bytesRead() const { return m_readCount; }

    // Reads one byte and advances; false (position unchanged) at the end.
    bool readByte(unsigned char &byte)
    {
        if (++m_readCount > m_readLimit)
            readLimitReached();
        if (m_position >= m_windowStart && m_position < m_windowEnd) {
            byte = static_cast<unsigned char>(m_data[static_cast<std::size_t>(m_position - m_windowStart)]);
            ++m_position;
            return true;
        }
        return readByteSlow(byte);
    }

    // Up to `count` bytes from the current position; fewer at the end.
    std::string read(std::int64_t count);
    // The same bytes, counted alike, as a view into the stream's own bytes
    // when they lie there (bytes in memory, or the window over a file), and
    // otherwise copied into `storage`; valid until the next read.
    std::string_view readView(std::int64_t count, std::string &storage);

private:
    TPdfInputStream() = default;
    bool readByteSlow(unsigned char &byte);
    [[noreturn]] void readLimitReached() const;
    void setDefaultLimit() { m_readLimit = 8 * m_size + (std::int64_t(8) << 20); }
    void fill(std::int64_t position);

    std::unique_ptr<pdfreader::ReadOnlyFile> m_file; // null for bytes in memory
    bool m_inMemory = false;
    std::string m_window;    // the window's bytes, or all bytes for fromBytes
    std::string_view m_data; // what readByte reads: the window or the bytes in memory
    std::int64_t m_windowStart = 0;
    std::int64_t m_windowEnd = 0;
    std::int64_t m_position = 0;
    std::int64_t m_size = 0;
    std::int64_t m_readCount = 0;
    std::int64_t m_readLimit = 0;
};
