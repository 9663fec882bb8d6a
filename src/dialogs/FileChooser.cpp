#include "dialogs/FileChooser.h"

#include <QFileDialog>
#include <QFileInfo>

QString DialogFileChooser::openFileName(QWidget *parent, const QString &initialFileName)
{
    // The pattern part of the initial name becomes the dialog's filter so
    // that the dialog opens in the folder and shows the matching files.
    const QFileInfo initial(initialFileName);
    QString filter;
    QString start = initialFileName;
    if (initial.fileName().contains(QLatin1Char('*'))) {
        filter = initial.fileName();
        start = initial.path();
    }
    return QFileDialog::getOpenFileName(parent, QString(), start, filter);
}

QString DialogFileChooser::existingFolder(QWidget *parent, const QString &folder)
{
    return QFileDialog::getExistingDirectory(parent, QString(), folder);
}
