// The open dialog shows a plan's file name whole and returns the file chosen.

#include "dialogs/FileChooser.h"

#include <QApplication>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QHeaderView>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QTreeView>

#include <algorithm>

class FileChooserTest : public QObject {
    Q_OBJECT
private slots:
    void openDialogShowsLongPlanNamesWhole();
};

void FileChooserTest::openDialogShowsLongPlanNamesWhole()
{
    QTemporaryDir folder;
    QVERIFY(folder.isValid());
    const QString name = QStringLiteral("実施計画 ") + QString(20, QChar(0x7530)) + QStringLiteral(" 2026_12_8.pdf");
    QFile file(folder.filePath(name));
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.close();

    int columnWidth = 0;
    int needed = 0;
    // Once the dialog is up and lists the folder, reads the name column and
    // chooses the file; a dialog that never lists it is cancelled.
    QTimer poll;
    int tries = 0;
    connect(&poll, &QTimer::timeout, this, [&] {
        // The dialog up now, found among the windows: offscreen it need not
        // become the active one.
        QFileDialog *dialog = nullptr;
        for (QWidget *window : QApplication::topLevelWidgets()) {
            if (auto *shown = qobject_cast<QFileDialog *>(window); shown != nullptr && shown->isVisible()) {
                dialog = shown;
            }
        }
        auto *view = dialog ? dialog->findChild<QTreeView *>(QStringLiteral("treeView")) : nullptr;
        if (view == nullptr || view->model()->rowCount(view->rootIndex()) != 1) {
            if (++tries > 200 && dialog != nullptr) {
                dialog->reject();
            }
            return;
        }
        poll.stop();
        // The names are in the detail view, whose name column and visible
        // part both hold the whole name.
        columnWidth = view->isVisible() ? std::min(view->header()->sectionSize(0), view->viewport()->width()) : 0;
        needed = view->fontMetrics().horizontalAdvance(name);
        dialog->selectFile(name);
        QMetaObject::invokeMethod(dialog, "accept");
    });
    poll.start(25);
    DialogFileChooser chooser;
    const QString chosen = chooser.openFileName(nullptr, folder.path() + QStringLiteral("/*.pdf"));
    QCOMPARE(chosen, folder.filePath(name));
    QVERIFY2(columnWidth > needed, qPrintable(QStringLiteral("name column %1 px for a name of %2 px")
                                                  .arg(columnWidth)
                                                  .arg(needed)));
}

QTEST_MAIN(FileChooserTest)
#include "FileChooserTest.moc"
