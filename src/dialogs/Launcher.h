#pragma once

// Handing files and web addresses to other programs, behind an interface so
// that tests can stand in for the desktop and see what would be started.

#include <QString>
#include <QStringList>

class QUrl;

class Launcher {
public:
    virtual ~Launcher() = default;

    // Opens a file or a web address with the program the desktop associates
    // with it (a PDF viewer, the browser) and does not wait. False when
    // nothing could be started.
    virtual bool openDocument(const QUrl &url) = 0;
    // Starts `program` with `arguments` on its own, without waiting. Returns
    // an identifier of the started process, or 0 when it could not start.
    virtual qint64 startProgram(const QString &program, const QStringList &arguments) = 0;
    // Whether a process returned by startProgram is still running.
    virtual bool isRunning(qint64 process) const = 0;
};

// The real desktop: QDesktopServices and detached processes.
class DesktopLauncher : public Launcher {
public:
    bool openDocument(const QUrl &url) override;
    qint64 startProgram(const QString &program, const QStringList &arguments) override;
    bool isRunning(qint64 process) const override;
};
