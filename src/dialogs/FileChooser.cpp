#include "dialogs/FileChooser.h"

#include <QFileDialog>

#include <algorithm>
#include <QFileInfo>
#include <QFontMetrics>
#include <QHeaderView>
#include <QScreen>
#include <QTreeView>

namespace {

// The longest name a plan file usually has: "実施計画 ", a name of 25
// full-width characters (the 50-byte limit), " " and a date.
QString longestPlanName()
{
    return QStringLiteral("実施計画 ") + QString(25, QChar(0x5C71)) + QStringLiteral(" 2026_12_31.pdf");
}

// Shows file names whole: the detail view, its name column as wide as the
// longest name in the folder, and the dialog wide enough for a plan name
// beside the other columns and the folder list (as far as the screen allows).
void showWholeNames(QFileDialog &dialog)
{
    dialog.setViewMode(QFileDialog::Detail);
    const int nameWidth = QFontMetrics(dialog.font()).horizontalAdvance(longestPlanName()) + 40;
    if (auto *view = dialog.findChild<QTreeView *>(QStringLiteral("treeView"))) {
        view->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
        view->header()->setMinimumSectionSize(nameWidth);
    }
    int width = nameWidth + 520;
    if (const QScreen *screen = dialog.screen()) {
        width = std::min(width, screen->availableGeometry().width() - 40);
    }
    dialog.resize(std::max(width, dialog.width()), std::max(dialog.height(), 480));
}

} // namespace

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
    // Qt's own dialog, in the program's language and with the names whole.
    QFileDialog dialog(parent, QString(), start, filter);
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::ExistingFile);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    showWholeNames(dialog);
    if (dialog.exec() != QDialog::Accepted) {
        return QString();
    }
    return dialog.selectedFiles().value(0);
}

QString DialogFileChooser::existingFolder(QWidget *parent, const QString &folder)
{
    return QFileDialog::getExistingDirectory(parent, QString(), folder);
}
