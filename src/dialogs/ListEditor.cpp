#include "dialogs/ListEditor.h"

#include "dialogs/Launcher.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

#include <algorithm>
#include <chrono>

#ifdef Q_OS_WIN
#include <windows.h>
#endif

namespace {

const QString kFileCode = QStringLiteral("%f");

#ifndef Q_OS_WIN
// The Exec line of a desktop entry as program and arguments, its field codes
// for files and addresses turned into "%f" and the others dropped. Empty
// for an entry that runs in a terminal or cannot be read.
QStringList desktopEntryCommand(const QString &entryPath)
{
    QFile file(entryPath);
    if (!file.open(QIODevice::ReadOnly | QIODevice::Text)) {
        return {};
    }
    QTextStream in(&file);
    bool mainGroup = false;
    QString exec;
    while (!in.atEnd()) {
        const QString line = in.readLine().trimmed();
        if (line.startsWith(QLatin1Char('['))) {
            mainGroup = line == QStringLiteral("[Desktop Entry]");
            continue;
        }
        if (!mainGroup) {
            continue;
        }
        if (line.startsWith(QStringLiteral("Exec="))) {
            exec = line.mid(5);
        } else if (line == QStringLiteral("Terminal=true")) {
            return {};
        }
    }
    QStringList command;
    bool hasFile = false;
    for (QString word : QProcess::splitCommand(exec)) {
        static const QStringList fileCodes{QStringLiteral("%f"), QStringLiteral("%F"), QStringLiteral("%u"),
                                           QStringLiteral("%U")};
        if (fileCodes.contains(word)) {
            if (!hasFile) {
                command.append(kFileCode);
                hasFile = true;
            }
            continue;
        }
        if (word.size() == 2 && word.startsWith(QLatin1Char('%')) && word != QStringLiteral("%%")) {
            continue; // %i, %c, %k and the deprecated codes
        }
        command.append(word.replace(QStringLiteral("%%"), QStringLiteral("%")));
    }
    return command;
}

// The desktop entry that xdg-mime names as the default for plain text.
QStringList defaultTextEditor()
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("text/plain")});
    if (!query.waitForFinished(3000) || query.exitStatus() != QProcess::NormalExit || query.exitCode() != 0) {
        query.kill();
        query.waitForFinished(1000);
        return {};
    }
    const QString entry = QString::fromUtf8(query.readAllStandardOutput()).trimmed();
    if (entry.isEmpty() || !entry.endsWith(QStringLiteral(".desktop"))) {
        return {};
    }
    const QString path = QStandardPaths::locate(QStandardPaths::ApplicationsLocation, entry);
    return path.isEmpty() ? QStringList() : desktopEntryCommand(path);
}
#endif

} // namespace

ListEditor::ListEditor(Launcher &launcher, QStringList command) : m_launcher(launcher), m_command(std::move(command))
{
    if (m_command.isEmpty()) {
        m_lookup = std::async(std::launch::async, &ListEditor::desktopTextEditor);
    }
}

QStringList ListEditor::editorCommand()
{
    if (!m_command.isEmpty()) {
        return m_command;
    }
    if (!m_lookedUp && m_lookup.valid() &&
        m_lookup.wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
        m_command = m_lookup.get();
        m_lookedUp = true;
        if (!m_command.isEmpty()) {
            return m_command;
        }
    }
    return knownTextEditor();
}

QStringList ListEditor::knownTextEditor()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("NOTEPAD.EXE"), kFileCode};
#else
    for (const char *name : {"gedit", "gnome-text-editor", "kate", "mousepad", "xed", "pluma"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty()) {
            return {program, kFileCode};
        }
    }
    return {};
#endif
}

QStringList ListEditor::desktopTextEditor()
{
#ifdef Q_OS_WIN
    return {QStringLiteral("NOTEPAD.EXE"), kFileCode};
#else
    QStringList command = defaultTextEditor();
    if (!command.isEmpty() && !QStandardPaths::findExecutable(command.first()).isEmpty()) {
        return command;
    }
    return knownTextEditor();
#endif
}

bool ListEditor::edit(const QString &path)
{
    const QString native = QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath());
#ifdef Q_OS_WIN
    // The editor names its window after the file it shows.
    const QString title = QFileInfo(path).fileName() + QStringLiteral(" - メモ帳");
    if (FindWindowW(nullptr, reinterpret_cast<LPCWSTR>(title.utf16())) != nullptr) {
        return true;
    }
#endif
    const auto running = m_started.constFind(native);
    if (running != m_started.constEnd() && m_launcher.isRunning(running.value())) {
        return true;
    }
    QStringList command = editorCommand();
    if (command.isEmpty()) {
        return false;
    }
    if (!std::any_of(command.cbegin(), command.cend(), [](const QString &word) { return word.contains(kFileCode); })) {
        command.append(kFileCode);
    }
    command.replaceInStrings(kFileCode, native);
    const QString program = command.takeFirst();
    const qint64 process = m_launcher.startProgram(program, command);
#ifdef Q_OS_WIN
    // The window title tells whether the file is open; a failed start is not reported.
    Q_UNUSED(process);
    return true;
#else
    if (process == 0) {
        return false;
    }
    m_started.insert(native, process);
    return true;
#endif
}
