#include <windows.h>
// windows.h names its own ReplaceFile (a macro for ReplaceFileW); ours is
// the one meant here.
#undef ReplaceFile

#include "planio/FileReplace.h"
#include "planio/FileReplaceParts.h"
#include "planio/WindowsErrors.h"

#include <algorithm>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;
using filereplace::fail;

namespace {

// Fails with the Windows error `code`, worded as its errno counterpart; the
// Windows code itself stays in the message.
[[noreturn]] void failWindows(const fs::path &path, DWORD code)
{
    filereplace::failSystem(path, winerror::toErrno(code), " (Windows error " + std::to_string(code) + ")");
}

// What is at the target now: nothing, or a disk file that is not marked
// read-only and that no other program holds open against writing. Refuses
// everything else before anything is created.
bool checkTarget(const fs::path &path)
{
    const DWORD attributes = GetFileAttributesW(path.c_str());
    if (attributes == INVALID_FILE_ATTRIBUTES) {
        const DWORD code = GetLastError();
        if (code == ERROR_FILE_NOT_FOUND) {
            return false;
        }
        failWindows(path, code);
    }
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) {
        fail(path, "It is a folder.", FileFault::Folder);
    }
    // Opening for writing tells a device (NUL, CON, a pipe) from a disk
    // file, and finds a file that another program keeps open.
    const HANDLE handle = CreateFileW(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                      nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        const DWORD code = GetLastError();
        if (code == ERROR_ACCESS_DENIED && (attributes & FILE_ATTRIBUTE_READONLY)) {
            fail(path, "It is read-only.", FileFault::ReadOnly);
        }
        failWindows(path, code);
    }
    const DWORD type = GetFileType(handle);
    CloseHandle(handle);
    if (type != FILE_TYPE_DISK) {
        fail(path, "It is not a regular file.", FileFault::NotRegularFile);
    }
    if (attributes & FILE_ATTRIBUTE_READONLY) {
        fail(path, "It is read-only.", FileFault::ReadOnly);
    }
    return true;
}

bool writeAll(HANDLE file, std::string_view bytes)
{
    while (!bytes.empty()) {
        const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(bytes.size(), 1u << 30));
        DWORD written = 0;
        if (!WriteFile(file, bytes.data(), chunk, &written, nullptr)) {
            return false;
        }
        bytes.remove_prefix(written);
    }
    return true;
}

} // namespace

// Windows keeps no owner or mode bits to carry over. The new file is
// written through to the disk and flushed, then moved over the old one with
// a write-through rename; until that rename the old file is untouched.
void ReplaceFile(const fs::path &path, std::string_view bytes)
{
    if (path.filename().empty()) {
        fail(path, "No file name.", FileFault::NoName);
    }
    checkTarget(path);
    const fs::path folder = path.parent_path();
    filereplace::removeStaleTemporaries(folder);

    fs::path temporary;
    HANDLE file = INVALID_HANDLE_VALUE;
    for (int attempt = 0; attempt < 100 && file == INVALID_HANDLE_VALUE; ++attempt) {
        temporary = filereplace::temporaryName(folder);
        file = CreateFileW(temporary.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                           FILE_ATTRIBUTE_NORMAL | FILE_FLAG_WRITE_THROUGH, nullptr);
        if (file == INVALID_HANDLE_VALUE && GetLastError() != ERROR_FILE_EXISTS) {
            break;
        }
    }
    if (file == INVALID_HANDLE_VALUE) {
        failWindows(path, GetLastError());
    }

    DWORD error = 0;
    if (!writeAll(file, bytes) || !FlushFileBuffers(file)) {
        error = GetLastError();
    }
    if (!CloseHandle(file) && error == 0) {
        error = GetLastError();
    }
    if (error == 0 &&
        !MoveFileExW(temporary.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        error = GetLastError();
    }
    if (error != 0) {
        DeleteFileW(temporary.c_str());
        failWindows(path, error);
    }
}
