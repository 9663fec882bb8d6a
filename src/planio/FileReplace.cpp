#include "planio/FileReplace.h"

#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstring>
#include <filesystem>
#include <random>
#include <system_error>

#ifndef _WIN32
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace fs = std::filesystem;

namespace {

// Temporary files younger than this may belong to a save still running (in
// another window or process) and are left alone.
constexpr std::chrono::seconds kStaleAge{60};
// Symbolic links followed before the path counts as a loop (the system's own limit).
constexpr int kMaxLinks = 40;

[[noreturn]] void fail(const std::string &path, const std::string &reason, FileFault fault = FileFault::System,
                       int error = 0)
{
    throw EFCreateError("Cannot create file \"" + path + "\". " + reason, fault, error);
}

[[noreturn]] void failSystem(const std::string &path, int error)
{
    fail(path, std::strerror(error), FileFault::System, error);
}

fs::path temporaryName(const fs::path &folder)
{
    static thread_local std::mt19937_64 random{std::random_device{}()};
    return folder / (".ovilant-" + std::to_string(random() % 1000000000ULL) + ".tmp");
}

// The file a path finally names: every symbolic link on the last step is
// followed (a relative link from the link's own folder), so that the file
// it points to is replaced and the link stays.
fs::path followLinks(const std::string &path)
{
    fs::path current(path);
    for (int hop = 0; hop < kMaxLinks; ++hop) {
        std::error_code ec;
        const fs::file_status status = fs::symlink_status(current, ec);
        if (ec || !fs::is_symlink(status)) {
            return current; // absent or not a link: the caller looks at it
        }
        const fs::path next = fs::read_symlink(current, ec);
        if (ec) {
            failSystem(path, ec.value());
        }
        current = next.is_absolute() ? next : current.parent_path() / next;
    }
    failSystem(path, ELOOP);
}

// Removes the temporary files of earlier saves that died before their
// rename. Only regular files of our own name pattern that are old enough;
// any error just leaves the file.
void removeStaleTemporaries(const fs::path &folder)
{
    std::error_code ec;
    const fs::path dir = folder.empty() ? fs::path(".") : folder;
    const auto now = fs::file_time_type::clock::now();
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec)) {
        const fs::path &entry = it->path();
        if (!IsReplaceTemporaryName(entry.filename().string())) {
            continue;
        }
        std::error_code entryError;
        if (!fs::is_regular_file(fs::symlink_status(entry, entryError))) {
            continue;
        }
        const auto written = fs::last_write_time(entry, entryError);
        if (!entryError && now - written > kStaleAge) {
            fs::remove(entry, entryError);
        }
    }
}

#ifndef _WIN32

// What is at the target now: nothing, or a regular file we may write.
// Refuses everything else before anything is created.
bool checkTarget(const std::string &path, const fs::path &target, struct stat &old)
{
    if (::stat(target.c_str(), &old) != 0) {
        if (errno == ENOENT) {
            return false;
        }
        failSystem(path, errno);
    }
    if (S_ISDIR(old.st_mode)) {
        fail(path, "It is a folder.", FileFault::Folder);
    }
    if (!S_ISREG(old.st_mode)) {
        fail(path, "It is not a regular file.", FileFault::NotRegularFile);
    }
    if (::access(target.c_str(), W_OK) != 0) {
        failSystem(path, errno);
    }
    // A plan marked read-only stays as it is, even for a user the system
    // would let write it.
    if ((old.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) {
        fail(path, "It is read-only.", FileFault::ReadOnly);
    }
    return true;
}

bool writeAll(int fd, std::string_view bytes)
{
    while (!bytes.empty()) {
        const ssize_t n = ::write(fd, bytes.data(), bytes.size());
        if (n < 0) {
            if (errno == EINTR) {
                continue;
            }
            return false;
        }
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

// Flushes the folder, so that the rename survives a power cut. File systems
// that cannot flush a folder say so with EINVAL; that is no failure.
int syncFolder(const fs::path &folder)
{
    const fs::path dir = folder.empty() ? fs::path(".") : folder;
    const int fd = ::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return errno;
    }
    const int error = ::fsync(fd) == 0 || errno == EINVAL || errno == EROFS ? 0 : errno;
    ::close(fd);
    return error;
}

#endif

} // namespace

bool IsReplaceTemporaryName(std::string_view fileName)
{
    constexpr std::string_view prefix = ".ovilant-";
    constexpr std::string_view suffix = ".tmp";
    if (fileName.size() <= prefix.size() + suffix.size() || !fileName.starts_with(prefix) ||
        !fileName.ends_with(suffix)) {
        return false;
    }
    for (const char c : fileName.substr(prefix.size(), fileName.size() - prefix.size() - suffix.size())) {
        if (c < '0' || c > '9') {
            return false;
        }
    }
    return true;
}

#ifndef _WIN32

void ReplaceFile(const std::string &path, std::string_view bytes)
{
    if (fs::path(path).filename().empty()) {
        fail(path, "No file name.", FileFault::NoName);
    }
    const fs::path target = followLinks(path);
    struct stat old {};
    const bool exists = checkTarget(path, target, old);
    const fs::path folder = target.parent_path();
    removeStaleTemporaries(folder);

    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = temporaryName(folder);
        // New files get the user's umask through the mode 0666.
        fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
        if (fd < 0 && errno != EEXIST) {
            break;
        }
    }
    if (fd < 0) {
        failSystem(path, errno);
    }

    int error = 0;
    if (exists) {
        // Owner first: giving a file away may clear its set-id bits, which
        // the mode then puts back. Only the superuser may give a file away;
        // for everybody else it stays theirs.
        if (::fchown(fd, old.st_uid, old.st_gid) != 0 && errno != EPERM) {
            error = errno;
        }
        if (error == 0 && ::fchmod(fd, old.st_mode & 07777) != 0) {
            error = errno;
        }
    }
    if (error == 0 && !writeAll(fd, bytes)) {
        error = errno;
    }
    if (error == 0 && ::fsync(fd) != 0) {
        error = errno;
    }
    if (::close(fd) != 0 && error == 0) {
        error = errno;
    }
    if (error == 0 && ::rename(temporary.c_str(), target.c_str()) != 0) {
        error = errno;
    }
    if (error != 0) {
        std::error_code ec;
        fs::remove(temporary, ec);
        failSystem(path, error);
    }
    if (const int folderError = syncFolder(folder); folderError != 0) {
        failSystem(path, folderError);
    }
}

#else

// Windows keeps no owner or mode bits to carry over; the file is replaced
// through the same temporary file and rename.
void ReplaceFile(const std::string &path, std::string_view bytes)
{
    const fs::path target(path);
    if (target.filename().empty()) {
        fail(path, "No file name.", FileFault::NoName);
    }
    std::error_code ec;
    if (fs::is_directory(target, ec)) {
        fail(path, "It is a folder.", FileFault::Folder);
    }
    if (fs::exists(target, ec) && !fs::is_regular_file(target, ec)) {
        fail(path, "It is not a regular file.", FileFault::NotRegularFile);
    }
    removeStaleTemporaries(target.parent_path());
    fs::path temporary;
    std::FILE *file = nullptr;
    for (int attempt = 0; attempt < 100 && file == nullptr; ++attempt) {
        temporary = temporaryName(target.parent_path());
        errno = 0;
        file = ::_wfopen(temporary.c_str(), L"wbx");
        if (file == nullptr && errno != EEXIST) {
            break;
        }
    }
    if (file == nullptr) {
        failSystem(path, errno);
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    int error = ok ? 0 : errno;
    if (std::fflush(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (std::fclose(file) != 0 && ok) {
        ok = false;
        error = errno;
    }
    if (ok) {
        fs::rename(temporary, target, ec);
        if (ec) {
            ok = false;
            error = ec.value();
        }
    }
    if (!ok) {
        fs::remove(temporary, ec);
        failSystem(path, error);
    }
}

#endif
