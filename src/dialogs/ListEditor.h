#pragma once

// Opens a pick-list file in the platform's plain-text editor, on its own and
// without waiting, at most once per file while that editor still shows it.
//
// On Windows the editor is "NOTEPAD.EXE", and a top-level window titled with
// the file's name + " - メモ帳" means the file is already open. Elsewhere the
// editor is the desktop's default for plain text, else the first of a few
// well-known graphical editors found on the PATH; the editor started for a
// file counts as showing it for as long as its process runs.
//
// Finding the desktop's editor asks another program, which may take a
// while: it is asked once, in the background, when the ListEditor is made,
// so that the window never waits for it. Until the answer is in, the
// well-known editors on the PATH stand in.

#include <QHash>
#include <QString>
#include <QStringList>

#include <future>

class Launcher;

class ListEditor {
public:
    // `command` replaces the editor search: the program and its arguments,
    // where "%f" stands for the file (appended when absent).
    explicit ListEditor(Launcher &launcher, QStringList command = {});

    // Starts the editor on `path` unless the file is already open in one.
    // False when no editor could be found or started.
    bool edit(const QString &path);

    // The desktop's text editor as program and arguments with "%f" for the
    // file; empty when none is found. May take up to a few seconds.
    static QStringList desktopTextEditor();
    // A well-known editor found on the PATH, without asking any program.
    static QStringList knownTextEditor();

private:
    // The editor to start: the given command, the desktop's once it is
    // known, else a well-known one.
    QStringList editorCommand();

    Launcher &m_launcher;
    QStringList m_command;
    std::future<QStringList> m_lookup; // the desktop's editor, being found
    bool m_lookedUp = false;
    QHash<QString, qint64> m_started; // file path -> editor process
};
