#pragma once

// File and folder choosing through the platform's dialogs, behind an
// interface so that tests can answer without a dialog.

#include <QString>

class QWidget;

class FileChooser {
public:
    virtual ~FileChooser() = default;

    // The standard open dialog, started with `initialFileName` (a folder and
    // a pattern such as "folder/*.pdf"). Returns the chosen file's full path,
    // or the empty text when the user cancels.
    virtual QString openFileName(QWidget *parent, const QString &initialFileName) = 0;
    // A folder picker started in `folder`; empty text on cancel.
    virtual QString existingFolder(QWidget *parent, const QString &folder) = 0;
};

class DialogFileChooser : public FileChooser {
public:
    QString openFileName(QWidget *parent, const QString &initialFileName) override;
    QString existingFolder(QWidget *parent, const QString &folder) override;
};
