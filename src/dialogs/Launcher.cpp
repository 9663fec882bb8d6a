#include "dialogs/Launcher.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QUrl>

#ifdef Q_OS_UNIX
#include <signal.h>
#include <sys/types.h>
#endif

bool DesktopLauncher::openDocument(const QUrl &url)
{
    return QDesktopServices::openUrl(url);
}

qint64 DesktopLauncher::startProgram(const QString &program, const QStringList &arguments)
{
    qint64 pid = 0;
    if (!QProcess::startDetached(program, arguments, QString(), &pid)) {
        return 0;
    }
    return pid;
}

bool DesktopLauncher::isRunning(qint64 process) const
{
    if (process <= 0) {
        return false;
    }
#ifdef Q_OS_UNIX
    // A detached child is reaped by no one here until it ends; a process
    // that no longer exists (or is a zombie) counts as ended.
    if (::kill(static_cast<pid_t>(process), 0) != 0) {
        return false;
    }
    QFile stat(QStringLiteral("/proc/%1/stat").arg(process));
    if (stat.open(QIODevice::ReadOnly)) {
        const QByteArray line = stat.readAll();
        const qsizetype close = line.lastIndexOf(')');
        if (close >= 0 && close + 2 < line.size() && line.at(close + 2) == 'Z') {
            return false;
        }
    }
    return true;
#else
    return true;
#endif
}
