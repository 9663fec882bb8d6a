#pragma once

// What the editor does before its window opens: the command line and the
// Japanese texts of Qt's own dialogs.

#include <QString>
#include <QStringList>

class QCoreApplication;

namespace startup {

// The command line read: either the editor starts (with the plan file to
// open, if one was named), or the program ends at once with `exitCode`
// after `output` has been written to standard output, or to standard
// error when `toStdErr` is set.
struct StartRequest {
    bool start = true;
    QString planFile;
    int exitCode = 0;
    QString output;
    bool toStdErr = false;
};

// Reads `arguments` (the program name first): "--help" and "--version"
// answer and end with 0; an unknown option or a second file ends with the
// usage line on standard error and 2. Needs no application object, so it
// runs before the window system is contacted.
StartRequest readArguments(const QStringList &arguments);

// The version shown by "--version".
QString versionText();

// Makes Qt's own texts (file dialogs, standard buttons) Japanese whatever
// the system's language: the default locale becomes Japanese and Qt's
// Japanese translations are installed when the file is found. Returns
// whether the translations were loaded.
bool useJapanese(QCoreApplication &app);

} // namespace startup
