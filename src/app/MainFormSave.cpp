// The two save commands of the File menu: "今日の日付で保存" dates the plan
// today, "開いた時の日付で保存" takes the date shown in the plan-date field.
// Both confirm, validate the form into `Plan`, and write the plan file
// "実施計画 <name> <y>_<m>_<d>.pdf" into the save folder.
//
// A save either writes the whole file or leaves the old one untouched: the
// report writes a complete temporary file and renames it over the target.
// `Modified` is cleared only when the file was written, so a plan that could
// not be saved still asks before the window closes.

#include "app/MainForm.h"

#include "plan/Common.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/PlanFiles.h"
#include "report/PlanPdf.h"
#include "dialogs/Prompter.h"
#include "settings/Registory.h"

#include <QTabWidget>

#include <exception>

namespace {

// The steps both commands share once `Plan.PlanDate` is set: validate,
// warn about texts that will not print whole, restore the page the user was
// on, refuse a file in use, write the file.
void gatherAndWrite(TMainForm &form, QWidget *activePage)
{
    if (!form.GatherPlan()) {
        return;
    }
    if (!form.ConfirmPrintedFit()) {
        return;
    }
    if (form.PageControl1->currentWidget() != activePage) {
        form.PageControl1->setCurrentWidget(activePage);
    }

    const std::string fileName = PlanFileName(form.Plan);
    const QString path = joinFolder(form.Registory->SaveFolder, guitext::fromCp932(fileName));
    const bool plainName = IsPlainFileName(fileName);
    // A name that would reach outside the save folder is never looked at.
    if (plainName && FileInUse(path)) {
        form.prompter().error(&form, QStringLiteral("PDFは、他で使用されています。\n保存できません。"));
        return;
    }

    // A name that would leave the save folder fails like any other write.
    bool written = false;
    if (plainName) {
        try {
            const TDateTime now = form.clock().now();
            SavePlanPdf(nativePath(path), form.Plan, PlanCreatorText(now), now);
            written = true;
        } catch (...) {
            // The report has already discarded its document, so the next
            // save starts afresh; the old file, if any, is as it was.
        }
    }
    if (!written) {
        form.prompter().error(&form, QStringLiteral("*** System Error : PDFを作成できませんでした。"));
        return;
    }
    form.Modified = false;
}

} // namespace

void TMainForm::NewSaveMenuClick()
{
    if (!prompter().confirm(this, QStringLiteral("今日の日付で保存します。\n保存しますか？"))) {
        return;
    }
    QWidget *const activePage = PageControl1->currentWidget();
    // The printed plan date and the age computed by the validation both
    // refer to today, whatever the plan-date field shows.
    Plan.PlanDate = clock().now();
    gatherAndWrite(*this, activePage);
}

void TMainForm::OldSaveMenuClick()
{
    if (!prompter().confirm(this, QStringLiteral("開いた時の日付で保存します。\n保存しますか？"))) {
        return;
    }
    QWidget *const activePage = PageControl1->currentWidget();
    TDateTime date = 0;
    if (!ParseEraDate(guitext::toCp932(PlanDateEdit->text()), date)) {
        ShowDateError(PlanDateEdit);
        return;
    }
    Plan.PlanDate = date;
    gatherAndWrite(*this, activePage);
}
