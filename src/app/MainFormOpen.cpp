// The open command of the File menu: reads a plan file back into the editor.
//
// Unsaved changes are confirmed first. The chosen file is read by the PDF
// reader completely before the editor is emptied and refilled. A plan file
// carries the Author and Subject markers; the text printed on its pages is
// read back into a plan (planfile::decodePlan) and the plan view shows it.
//
// A file the reader refuses, or one without the two markers, is reported
// in an error box; the editor and `Modified` then stay exactly as they were.

#include "app/MainForm.h"

#include "dialogs/FileChooser.h"
#include "app/GuiText.h"
#include "app/PlanForm.h"
#include "planio/ReadBackCheck.h"
#include "pdfreader/PdfReadError.h"
#include "planfile/PlanDecode.h"
#include "planfile/PlanFieldValue.h"
#include "planfile/PlanFormat.h"
#include "planio/PlanRead.h"
#include "app/PlanFiles.h"
#include "dialogs/Prompter.h"
#include "settings/Registory.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <exception>
#include <stdexcept>

void TMainForm::OpenMenuClick()
{
    if (!confirmDiscard()) {
        return;
    }
    const QString chosen = fileChooser().openFileName(this, OpenDialogFileName(Registory->OpenFolder));
    if (chosen.isEmpty()) {
        Registory->OpenFolder = RootFolder();
        return;
    }
    openPlanFile(chosen);
}

bool TMainForm::openPlanFile(const QString &chosen)
{
    Registory->OpenFolder = FolderOfFile(chosen);
    // Another editor holding the plan is named first; the user decides.
    if (!confirmOpenHeld(chosen)) {
        return false;
    }

    // The file is read completely before the editor is touched, so a file
    // that is refused leaves the plan being edited as it was.
    const QString unreadable = QStringLiteral("このファイルは計画書として読み込めませんでした。\n");
    planfile::PrintedPlan printed;
    bool damaged = false;
    try {
        const planio::PlanFileRead read = planio::loadPlanFile(planPath(chosen));
        OpenedAuthor = guitext::fromCp932(read.author);
        OpenedSubject = guitext::fromCp932(read.subject);
        damaged = planio::findDifference(read).has_value();
        printed = read.printed;
    } catch (const planio::NewerLayoutFile &e) {
        prompter().error(this, guitext::fromCp932(e.what()));
        return false;
    } catch (const planio::NotAPlanFile &e) {
        OpenedAuthor = guitext::fromCp932(e.author);
        OpenedSubject = guitext::fromCp932(e.subject);
        prompter().error(this, guitext::fromCp932(planfile::kNotAPlanMessage));
        return false;
    } catch (const EPdfReadError &e) {
        // The reader's text is code page 932; a file name it ends with is
        // UTF-8, shown with the system's separators.
        prompter().error(this, unreadable + guitext::fromCp932(e.text()) +
                                   QDir::toNativeSeparators(QString::fromStdString(e.fileName())));
        return false;
    } catch (const std::exception &e) {
        prompter().error(this, unreadable + guitext::fromCp932(e.what()));
        return false;
    }

    // A plan that does not print what the file holds was changed or damaged
    // after it was written: it is shown all the same, after a warning, so
    // that it can be checked against the printed plan.
    if (damaged) {
        prompter().warning(this, guitext::fromCp932(planio::damagedPlanMessage()));
    }
    {
        const ProgramFill fill(*this);
        ClearForm();
        planView().show(printed);
    }
    planView().startHistory();
    Modified = false;
    holdPlanFile(chosen);
    unlockEditor();
    planView().setCurrentWidget(planView().page(1));
    showStatus(QStringLiteral("開きました: ") + QDir::toNativeSeparators(QFileInfo(chosen).absoluteFilePath()));
    return true;
}
