#include "pdfreader/ReadOnlyFile.h"

#include <algorithm>

#include <windows.h>

namespace pdfreader {

std::unique_ptr<ReadOnlyFile> ReadOnlyFile::open(const std::filesystem::path &path)
{
    // Others may read, write, rename or delete the file meanwhile, as they
    // may on other systems. A folder is not opened at all (that needs
    // FILE_FLAG_BACKUP_SEMANTICS); a device (CON, NUL, a pipe) opens but is
    // no disk file and is refused before any read.
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE)
        return nullptr;
    std::unique_ptr<ReadOnlyFile> file(new ReadOnlyFile);
    file->m_handle = reinterpret_cast<std::intptr_t>(handle);
    LARGE_INTEGER size{};
    if (GetFileType(handle) != FILE_TYPE_DISK || !GetFileSizeEx(handle, &size) || size.QuadPart < 0)
        return nullptr;
    file->m_size = static_cast<std::int64_t>(size.QuadPart);
    return file;
}

ReadOnlyFile::~ReadOnlyFile()
{
    if (m_handle != -1)
        CloseHandle(reinterpret_cast<HANDLE>(m_handle));
}

std::size_t ReadOnlyFile::readAt(std::int64_t position, char *buffer, std::size_t count)
{
    std::size_t got = 0;
    while (got < count) {
        // The position goes with each read, so that no shared file pointer moves.
        OVERLAPPED at{};
        const std::uint64_t offset = static_cast<std::uint64_t>(position) + got;
        at.Offset = static_cast<DWORD>(offset & 0xFFFFFFFFu);
        at.OffsetHigh = static_cast<DWORD>(offset >> 32);
        const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count - got, 1u << 30));
        DWORD n = 0;
        if (!ReadFile(reinterpret_cast<HANDLE>(m_handle), buffer + got, want, &n, &at) || n == 0)
            break;
        got += n;
    }
    return got;
}

// Windows reads ahead on its own as a file is read in order; there is no
// call that starts the reading of a file without mapping it.
void ReadOnlyFile::readAhead() {}

} // namespace pdfreader
