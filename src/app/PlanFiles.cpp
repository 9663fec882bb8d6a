#include "app/PlanFiles.h"

#include "app/GuiText.h"
#include "planio/FileReplace.h"
#include "report/FileState.h"
#include "settings/Registory.h"

#include <QDir>
#include <QFileInfo>

#include <cerrno>
#include <cstring>

QString folderSeparator()
{
    return QString(QDir::separator());
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
    QString folder = QDir::toNativeSeparators(QFileInfo(filePath).path());
    // "C:" alone would name the drive's current folder, not its root.
    if (folder.size() == 2 && folder.at(1) == QLatin1Char(':') && folder.at(0).isLetter()) {
        folder += QDir::separator();
    }
    return folder;
}

std::filesystem::path planPath(const QString &path)
{
    // UTF-16 to the path's own form: UTF-16 on Windows, never the ANSI code
    // page; UTF-8 elsewhere, as Qt itself names files.
    return std::filesystem::path(path.toStdU16String());
}

bool FileInUse(const QString &path)
{
    return ::FileInUse(planPath(path));
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
    case EBUSY:
        return QStringLiteral("ほかのプログラムがこのファイルを使用しています。");
    case EINVAL:
        return QStringLiteral("ファイル名に使えない文字が含まれています。");
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
    const QString canonical = QFileInfo(path).canonicalFilePath();
    if (canonical.isEmpty()) {
        return stamp;
    }
    const std::optional<FileIdentity> identity = IdentifyFile(planPath(canonical));
    if (!identity) {
        return stamp;
    }
    stamp.path = canonical;
    stamp.device = identity->device;
    stamp.inode = identity->file;
    stamp.size = identity->size;
    stamp.modified = identity->modified;
    return stamp;
}
