#include "dialogs/Launcher.h"

#include "desktop/Desktop.h"

#include <QDesktopServices>
#include <QProcess>
#include <QUrl>

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
    return desktop::processRunning(process);
}
