#include "planlock/LockPlatform.h"

#ifdef _WIN32
#include <windows.h>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#else
#include <cerrno>
#include <climits>
#include <csignal>
#include <cstdlib>
#include <fcntl.h>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#endif


namespace planlock::platform {

#ifdef _WIN32

namespace {

std::string utf8(const wchar_t *text, int length)
{
    const int size = WideCharToMultiByte(CP_UTF8, 0, text, length, nullptr, 0, nullptr, nullptr);
    std::string out(static_cast<std::size_t>(size > 0 ? size : 0), '\0');
    if (size > 0) {
        WideCharToMultiByte(CP_UTF8, 0, text, length, out.data(), size, nullptr, nullptr);
    }
    return out;
}

std::string environment(const wchar_t *name)
{
    wchar_t value[256];
    const DWORD length = GetEnvironmentVariableW(name, value, 256);
    return length > 0 && length < 256 ? utf8(value, static_cast<int>(length)) : std::string();
}

} // namespace

std::string userName()
{
    return environment(L"USERNAME");
}

std::string hostName()
{
    wchar_t name[MAX_COMPUTERNAME_LENGTH + 1];
    DWORD length = MAX_COMPUTERNAME_LENGTH + 1;
    return GetComputerNameW(name, &length) ? utf8(name, static_cast<int>(length)) : environment(L"COMPUTERNAME");
}

long long processId()
{
    return static_cast<long long>(GetCurrentProcessId());
}

bool processRunning(long long pid)
{
    HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, static_cast<DWORD>(pid));
    if (process == nullptr) {
        return GetLastError() == ERROR_ACCESS_DENIED;
    }
    DWORD code = 0;
    const bool running = GetExitCodeProcess(process, &code) && code == STILL_ACTIVE;
    CloseHandle(process);
    return running;
}

bool createExclusive(const std::filesystem::path &path, const std::string &text)
{
    HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return false;
    }
    DWORD written = 0;
    const bool ok = WriteFile(file, text.data(), static_cast<DWORD>(text.size()), &written, nullptr) &&
                    written == text.size();
    CloseHandle(file);
    if (!ok) {
        DeleteFileW(path.c_str());
    }
    return ok;
}

std::optional<std::string> readFileStart(const std::filesystem::path &path, std::size_t limit)
{
    // Opened as itself: a reparse point (a symbolic link) is not followed.
    HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::nullopt;
    }
    std::optional<std::string> text;
    BY_HANDLE_FILE_INFORMATION info{};
    if (GetFileType(file) == FILE_TYPE_DISK && GetFileInformationByHandle(file, &info) &&
        (info.dwFileAttributes & (FILE_ATTRIBUTE_REPARSE_POINT | FILE_ATTRIBUTE_DIRECTORY)) == 0) {
        std::string buffer(limit, '\0');
        DWORD done = 0;
        if (ReadFile(file, buffer.data(), static_cast<DWORD>(limit), &done, nullptr)) {
            buffer.resize(done);
            text = std::move(buffer);
        }
    }
    CloseHandle(file);
    return text;
}

#else

std::string userName()
{
    if (const passwd *entry = getpwuid(geteuid()); entry != nullptr && entry->pw_name != nullptr) {
        return entry->pw_name;
    }
    const char *name = std::getenv("USER");
    return name != nullptr ? name : "";
}

std::string hostName()
{
    char name[HOST_NAME_MAX + 1] = {};
    return gethostname(name, sizeof name - 1) == 0 ? std::string(name) : std::string();
}

long long processId()
{
    return static_cast<long long>(getpid());
}

bool processRunning(long long pid)
{
    if (pid <= 0 || pid > INT_MAX) {
        return false;
    }
    return kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool createExclusive(const std::filesystem::path &path, const std::string &text)
{
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0644);
    if (fd < 0) {
        return false;
    }
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = write(fd, text.data() + done, text.size() - done);
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            break;
        }
        done += static_cast<std::size_t>(n);
    }
    const bool ok = close(fd) == 0 && done == text.size();
    if (!ok) {
        unlink(path.c_str());
    }
    return ok;
}

std::optional<std::string> readFileStart(const std::filesystem::path &path, std::size_t limit)
{
    // Opened without blocking, so that a FIFO planted at the name cannot
    // hang the editor, and without following a symbolic link; then only a
    // regular file is read.
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOFOLLOW | O_CLOEXEC);
    if (fd < 0) {
        return std::nullopt;
    }
    struct stat info {};
    std::optional<std::string> text;
    if (fstat(fd, &info) == 0 && S_ISREG(info.st_mode)) {
        std::string buffer(limit, '\0');
        std::size_t done = 0;
        bool failed = false;
        while (done < limit) {
            const ssize_t n = read(fd, buffer.data() + done, limit - done);
            if (n < 0 && errno == EINTR) {
                continue;
            }
            if (n < 0) {
                failed = true;
            }
            if (n <= 0) {
                break;
            }
            done += static_cast<std::size_t>(n);
        }
        if (!failed) {
            buffer.resize(done);
            text = std::move(buffer);
        }
    }
    close(fd);
    return text;
}

#endif

} // namespace planlock::platform
