// Printing: "印刷" prints a saved plan file, "印刷プレビュー" the plan in the
// editor. Both show Ovilant's own print preview, which draws the plan with
// the layout and the measuring of the plan file in the Gothic faces it was
// laid out for; the user prints from there. Handing the file to a PDF viewer
// would let the viewer substitute fonts for the ones the file names.
//
// On Windows "印刷" hands the chosen file to the associated PDF viewer.

#include "app/MainForm.h"
#include "planio/PlanRead.h"
#include "planio/ReadBackCheck.h"

#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/PlanFiles.h"
#include "app/PrintPreviewer.h"
#include "dialogs/FileChooser.h"
#include "dialogs/Launcher.h"
#include "dialogs/Prompter.h"
#include "painter/PlanPainter.h"
#include "plan/Common.h"
#include "settings/Registory.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <exception>
#include <optional>

namespace {

// Hands `path` to the desktop's viewer; its failure is the association error.
void openInViewer(Launcher &launcher, Prompter &prompter, QWidget *window, const QString &path)
{
    if (!launcher.openDocument(QUrl::fromLocalFile(path))) {
        prompter.error(window, QStringLiteral("PDFの関連付けエラーです。"), Prompter::Button::Abort);
    }
}

} // namespace

void TMainForm::N3Click()
{
    // Always folder + separator + "*.pdf", even for the root folder.
    const QString chosen = fileChooser().openFileName(this, joinFolder(Registory->OpenFolder, QStringLiteral("*.pdf")));
    if (chosen.isEmpty()) {
        return;
    }
    Registory->OpenFolder = FolderOfFile(chosen);

    std::optional<TPRACTDATA> plan;
    bool damaged = false;
    try {
        const planio::PlanFileRead read = planio::loadPlanFile(planPath(chosen));
        // The same check as opening: a file changed after it was written
        // is said to be so before it is printed.
        damaged = planio::findDifference(read).has_value();
        plan = read.printed.Plan;
    } catch (const std::exception &) {
        // Not a plan, or not a file the reader takes: any PDF still prints
        // through the desktop's viewer.
    }
    if (!plan) {
        openInViewer(launcher(), prompter(), this, chosen);
        return;
    }
    if (damaged) {
        prompter().warning(this, guitext::fromCp932(planio::damagedPlanMessage()));
    }
    printPreviewer().preview(this, {*plan});
    showStatus(QStringLiteral("印刷プレビュー: ") + QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath()));
}

void TMainForm::PreviewMenuClick()
{
    // The plan the view reads, dated as the plan-date field shows and
    // checked as a save checks it; nothing is saved or kept.
    if (const std::optional<TPRACTDATA> plan = readPlan(std::nullopt)) {
        printPreviewer().preview(this, {*plan});
    }
}
