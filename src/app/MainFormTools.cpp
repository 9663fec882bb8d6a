// The save-folder setting, the about box and help (printing is in
// MainFormPrint.cpp).

#include "app/MainForm.h"

#include "dialogs/FolderForm.h"
#include "dialogs/InfoForm.h"
#include "dialogs/Launcher.h"
#include "dialogs/Prompter.h"
#include "settings/Registory.h"

#include <QDir>
#include <QFileInfo>
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

// The messages for the failure codes of the platform's document opening.
QString openFailureText(int code)
{
    switch (code) {
    case 0:
        return QStringLiteral("The operating system is out of memory or resources.");
    case 2:
        return QStringLiteral("The specified file was not found.");
    case 3:
        return QStringLiteral("The specified path was not found.");
    case 5:
        return QStringLiteral("The operating system denied access to the specified file.");
    case 8:
        return QStringLiteral("There was not enough memory to complete the operation.");
    case 11:
        return QStringLiteral("The .EXE file is invalid (non-Win32 .EXE or error in .EXE image).");
    case 26:
        return QStringLiteral("A sharing violation occurred.");
    case 27:
        return QStringLiteral("The filename association is incomplete or invalid.");
    case 28:
        return QStringLiteral("The DDE transaction could not be completed because the request timed out.");
    case 29:
        return QStringLiteral("The DDE transaction failed.");
    case 30:
        return QStringLiteral(
            "The DDE transaction could not be completed because other DDE transactions were being processed.");
    case 31:
        return QStringLiteral("There is no application associated with the given filename extension.");
    case 32:
        return QStringLiteral("The specified dynamic-link library was not found.");
    default:
        return QString();
    }
}

// The desktop only says whether a document could be opened. A file that has
// gone meanwhile reads as "file not found", a folder that cannot be read as
// "access denied", anything else as a missing association.
int openFailureCode(const QString &path)
{
    const QFileInfo file(path);
    if (!file.exists()) {
        return file.dir().exists() ? 2 : 3;
    }
    if (!file.isReadable()) {
        return 5;
    }
    return 31;
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
    if (!launcher().openDocument(QUrl::fromLocalFile(path))) {
        prompter().error(this, openFailureText(openFailureCode(path)), Prompter::Button::Abort);
    }
}
