#include "planio/FileReplace.h"
#include "planio/FileReplaceParts.h"

#include <cerrno>
#include <filesystem>
#include <system_error>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace fs = std::filesystem;
using filereplace::fail;
using filereplace::failSystem;

namespace {

// Symbolic links followed before the path counts as a loop (the system's own limit).
constexpr int kMaxLinks = 40;

// The file a path finally names: every symbolic link on the last step is
// followed (a relative link from the link's own folder), so that the file
// it points to is replaced and the link stays.
fs::path followLinks(const fs::path &path)
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

// What is at the target now: nothing, or a regular file we may write.
// Refuses everything else before anything is created.
bool checkTarget(const fs::path &path, const fs::path &target, struct stat &old)
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

} // namespace

void ReplaceFile(const fs::path &path, std::string_view bytes)
{
    if (path.filename().empty()) {
        fail(path, "No file name.", FileFault::NoName);
    }
    const fs::path target = followLinks(path);
    struct stat old {};
    const bool exists = checkTarget(path, target, old);
    const fs::path folder = target.parent_path();
    filereplace::removeStaleTemporaries(folder);

    fs::path temporary;
    int fd = -1;
    for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
        temporary = filereplace::temporaryName(folder);
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
