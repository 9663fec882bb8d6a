// The plain-text editor of a Linux or other freedesktop.org desktop: the
// default application for text/plain, else the first of a few well-known
// graphical editors on the PATH.

#include "dialogs/ListEditor.h"

#include <QFile>
#include <QProcess>
#include <QStandardPaths>
#include <QTextStream>

namespace {

const QString kFileCode = QStringLiteral("%f");

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
} // namespace

QStringList ListEditor::desktopTextEditor()
{
    QStringList command = defaultTextEditor();
    if (!command.isEmpty() && !QStandardPaths::findExecutable(command.first()).isEmpty()) {
        return command;
    }
    return knownTextEditor();
}

QStringList ListEditor::knownTextEditor()
{
    for (const char *name : {"gedit", "gnome-text-editor", "kate", "mousepad", "xed", "pluma"}) {
        const QString program = QStandardPaths::findExecutable(QString::fromLatin1(name));
        if (!program.isEmpty()) {
            return {program, kFileCode};
        }
    }
    return {};
}

bool ListEditor::shownElsewhere(const QString &)
{
    return false; // only the editors started here are known
}
