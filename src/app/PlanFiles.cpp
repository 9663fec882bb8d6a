#include "app/PlanFiles.h"

#include "settings/Registory.h"

#include <QFile>
#include <QFileInfo>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>
#endif

QString folderSeparator()
{
#ifdef _WIN32
    return QStringLiteral("\\");
#else
    return QStringLiteral("/");
#endif
}

QString joinFolder(const QString &folder, const QString &fileName)
{
    return folder + folderSeparator() + fileName;
}

QString OpenDialogFileName(const QString &folder)
{
    const QString pattern = QStringLiteral("*.pdf");
    if (folder == RootFolder() && folder.endsWith(folderSeparator())) {
        return folder + pattern;
    }
    return joinFolder(folder, pattern);
}

QString FolderOfFile(const QString &filePath)
{
    QString folder = QFileInfo(filePath).path();
#ifdef _WIN32
    folder = folder.replace(QLatin1Char('/'), QLatin1Char('\\'));
    // "C:" alone would name the drive's current folder, not its root.
    if (folder.size() == 2 && folder.at(1) == QLatin1Char(':')) {
        folder += QLatin1Char('\\');
    }
#endif
    return folder;
}

std::string nativePath(const QString &path)
{
    return QFile::encodeName(path).toStdString();
}

bool FileInUse(const QString &path)
{
    if (!QFileInfo::exists(path)) {
        return false;
    }
#ifdef _WIN32
    const HANDLE handle = CreateFileW(reinterpret_cast<LPCWSTR>(path.utf16()), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                      FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        return GetLastError() != ERROR_FILE_NOT_FOUND;
    }
    CloseHandle(handle);
    return false;
#else
    const std::string native = nativePath(path);
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return errno != ENOENT;
    }
    // A holder with a shared or exclusive lock refuses ours. The lock is
    // only tested: closing the descriptor releases it at once. A file system
    // without locks answers otherwise and does not count as a holder.
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
#endif
}
