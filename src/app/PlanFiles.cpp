#include "app/PlanFiles.h"

#include "app/GuiText.h"
#include "planio/FileReplace.h"
#include "settings/Registory.h"

#include <QDateTime>

#include <QFile>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

#ifdef _WIN32
#include <windows.h>
#else
#include <cerrno>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
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
    // Non-blocking, so that a FIFO at the name does not wait for a writer;
    // anything but a regular file is nobody's open plan (the save refuses it
    // with its own reason).
    const int fd = ::open(native.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
        return errno != ENOENT && errno != ENXIO;
    }
    struct stat status {};
    if (::fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        ::close(fd);
        return false;
    }
    // A holder with a shared or exclusive lock refuses ours. The lock is
    // only tested: closing the descriptor releases it at once. A file system
    // without locks answers otherwise and does not count as a holder.
    const bool locked = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return locked;
#endif
}

QString systemErrorText(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR:
        return QStringLiteral("保存先のフォルダーが見つかりません。");
    case EACCES:
    case EPERM:
        return QStringLiteral("書き込む権限がありません。");
    case ENOSPC:
        return QStringLiteral("ディスクの空き容量が足りません。");
    case EROFS:
        return QStringLiteral("読み取り専用の場所には保存できません。");
#ifdef EDQUOT
    case EDQUOT:
        return QStringLiteral("ディスクの使用量の上限を超えています。");
#endif
    case EFBIG:
        return QStringLiteral("ファイルが大きすぎます。");
    case ENAMETOOLONG:
        return QStringLiteral("ファイル名またはフォルダー名が長すぎます。");
    case EIO:
        return QStringLiteral("ディスクの読み書きに失敗しました。");
    case ELOOP:
        return QStringLiteral("シンボリックリンクが循環しています。");
    default:
        return QString::fromLocal8Bit(std::strerror(error));
    }
}

QString saveFailureReason(const std::exception &error)
{
    const auto *file = dynamic_cast<const EFCreateError *>(&error);
    if (file == nullptr) {
        return guitext::fromCp932(error.what());
    }
    switch (file->fault()) {
    case FileFault::System:
        return systemErrorText(file->systemError());
    case FileFault::NoName:
        return QStringLiteral("ファイル名がありません。");
    case FileFault::Folder:
        return QStringLiteral("同じ名前のフォルダーがあります。");
    case FileFault::NotRegularFile:
        return QStringLiteral("同じ名前で、ファイルではないもの（FIFO やデバイスなど）があります。");
    case FileFault::ReadOnly:
        return QStringLiteral("同じ名前の計画書が読み取り専用になっています。");
    }
    return guitext::fromCp932(error.what());
}

PlanFileStamp planFileStamp(const QString &path)
{
    PlanFileStamp stamp;
    const QFileInfo info(path);
    const QString canonical = info.canonicalFilePath();
    if (canonical.isEmpty()) {
        return stamp;
    }
    stamp.path = canonical;
#ifdef _WIN32
    if (!info.isFile()) {
        return PlanFileStamp{};
    }
    stamp.size = info.size();
    stamp.modified = info.lastModified().toMSecsSinceEpoch();
#else
    struct stat status {};
    if (::stat(nativePath(canonical).c_str(), &status) != 0 || !S_ISREG(status.st_mode)) {
        return PlanFileStamp{};
    }
    stamp.device = static_cast<unsigned long long>(status.st_dev);
    stamp.inode = static_cast<unsigned long long>(status.st_ino);
    stamp.size = static_cast<long long>(status.st_size);
    stamp.modified = static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec;
#endif
    return stamp;
}
