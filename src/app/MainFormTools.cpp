// The save-folder setting, the about box and help (printing is in
// MainFormPrint.cpp).

#include "app/MainForm.h"

#include "dialogs/FolderForm.h"
#include "dialogs/InfoForm.h"
#include "dialogs/Launcher.h"
#include "dialogs/Prompter.h"
#include "settings/Registory.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTextBrowser>
#include <QVBoxLayout>
#include <QUrl>

namespace {

// The manual: the HTML page the build copies beside the program and the
// installation puts into the documentation folder, on every platform.
QString helpFileName()
{
    return QStringLiteral("Ovilant.html");
}

// Where the manual is looked for: beside the program, then in the
// documentation folder of an installed program.
QStringList helpFileCandidates(const QString &programDir)
{
    return {programDir + QLatin1Char('/') + helpFileName(),
            QDir::cleanPath(programDir + QStringLiteral("/../share/doc/ovilant/") + helpFileName())};
}

} // namespace

void TMainForm::SettingMenuClick()
{
    if (FolderForm == nullptr) {
        FolderForm = new TFolderForm(prompter(), this);
    }
    FolderForm->FolderPath = Registory->SaveFolder;
    if (FolderForm->exec() == TFolderForm::ResultCancel) {
        return;
    }
    // "設定" with an empty field (the folder could not be shown and none was
    // chosen) keeps the folder: an empty save folder would put plans into
    // whatever folder the program happens to run in.
    if (!FolderForm->FolderPath.isEmpty()) {
        Registory->SaveFolder = FolderForm->FolderPath;
        showStatus(QStringLiteral("計画書保存フォルダーを設定しました: ") + QDir::toNativeSeparators(Registory->SaveFolder));
    }
}

void TMainForm::NInfoMenuClick()
{
    if (Info == nullptr) {
        Info = new Tinfo(launcher(), this);
    }
    Info->exec();
}

void TMainForm::HelpMenuClick()
{
    QString path;
    for (const QString &candidate : helpFileCandidates(ProgramDir)) {
        if (QFileInfo(candidate).isFile()) {
            path = candidate;
            break;
        }
    }
    if (path.isEmpty()) {
        launcher().openDocument(QUrl(makerWebAddress()));
        return;
    }
    // The manual is shown in a window of the editor's own, on any desktop
    // and without a browser; its links to the web go to the browser.
    if (QFile file(path); !file.open(QIODevice::ReadOnly)) {
        prompter().error(this, QStringLiteral("マニュアルを開けません。\n") + QDir::toNativeSeparators(path));
        return;
    }
    if (HelpWindow == nullptr) {
        HelpWindow = new QDialog(this, Qt::Window);
        HelpWindow->setObjectName(QStringLiteral("HelpWindow"));
        HelpWindow->setWindowTitle(QStringLiteral("リハビリ実施計画書 - ヘルプ"));
        auto *browser = new QTextBrowser(HelpWindow);
        browser->setObjectName(QStringLiteral("HelpBrowser"));
        browser->setOpenExternalLinks(true);
        auto *layout = new QVBoxLayout(HelpWindow);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->addWidget(browser);
        HelpWindow->resize(820, 760);
    }
    auto *browser = HelpWindow->findChild<QTextBrowser *>(QStringLiteral("HelpBrowser"));
    browser->setSource(QUrl::fromLocalFile(path));
    HelpWindow->show();
    HelpWindow->raise();
    HelpWindow->activateWindow();
}
