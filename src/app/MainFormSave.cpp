// The two save commands of the File menu: "今日の日付で保存" dates the plan
// today, "開いた時の日付で保存" takes the date shown in the plan-date field.
// Both confirm, check the plan the view reads (a plan refused by the checks
// leaves `Plan` as it was, one that passes becomes `Plan`), and write it as
// the plan file "実施計画 <name> <y>_<m>_<d>.pdf" into the save folder.
//
// A save either writes the whole file or leaves the old one untouched: the
// report writes a complete temporary file and renames it over the target.
// `Modified` is cleared only when the file was written, so a plan that could
// not be saved still asks before the window closes. A failure says why on a
// second line; a save that worked says where the file went in the status
// bar, names the file in the window's title and shows the plan date it
// saved. An existing file that is not this window's own plan file is only
// replaced after the user agreed.

#include "app/MainForm.h"

#include "plan/Common.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/PlanFiles.h"
#include "app/PlanForm.h"
#include "planfile/PlanFieldValue.h"
#include "planio/PlanSave.h"
#include "dialogs/Prompter.h"
#include "settings/Registory.h"

#include <QDir>
#include <QFileInfo>

#include <exception>

namespace {

const QString kSaveFailed = QStringLiteral("*** System Error : PDFを作成できませんでした。");

// A failed save: the fixed message, and on its second line why.
void reportSaveFailure(TMainForm &form, const QString &reason)
{
    form.prompter().error(&form, kSaveFailed + QLatin1Char('\n') + reason);
}

// A save that wrote its file says so in the status bar, with the full path,
// so the user sees where the plan went.
void reportSaved(TMainForm &form, const QString &path)
{
    form.showStatus(QStringLiteral("保存しました: ") + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

// Writes the plan file at `path`. Returns whether it was written; a failure
// has been reported.
bool writePlanFile(TMainForm &form, const QString &path)
{
    try {
        const TDateTime now = form.clock().now();
        SavePlanPdf(planPath(path), form.Plan, PlanCreatorText(now), now);
        return true;
    } catch (const std::exception &e) {
        // The report has already discarded its document, so the next save
        // starts afresh; the old file, if any, is as it was.
        reportSaveFailure(form, saveFailureReason(e));
    } catch (...) {
        reportSaveFailure(form, QString());
    }
    return false;
}

// The steps both commands share for a plan dated `planDate`: validate,
// warn about texts that will not print whole, restore the page the user was
// on, refuse a file in use, write the file.
void gatherAndWrite(TMainForm &form, TDateTime planDate, QWidget *activePage)
{
    if (!form.GatherPlan(planDate)) {
        return;
    }
    // The user's page is back before any warning about the plan.
    if (form.planForm().currentWidget() != activePage) {
        form.planForm().setCurrentWidget(activePage);
    }
    if (!form.ConfirmLookAlikes() || !form.ConfirmPrintedFit(form.Plan)) {
        return;
    }

    const std::string fileName = PlanFileName(form.Plan);
    const QString path = joinFolder(form.Registory->SaveFolder, guitext::fromCp932(fileName));
    // A name that would reach outside the save folder is never looked at.
    if (!IsPlainFileName(fileName)) {
        reportSaveFailure(form, QStringLiteral("氏名にフォルダーの区切り文字（/ や \\）は使えません。"));
        return;
    }
    if (FileInUse(path)) {
        form.prompter().error(&form, QStringLiteral("PDFは、他で使用されています。\n保存できません。"));
        return;
    }
    if (!form.confirmReplace(path) || !writePlanFile(form, path)) {
        return;
    }
    form.Modified = false;
    form.noteSaved(path);
    form.holdPlanFile(path);
    // The plan date the file holds, which "今日の日付で保存" has just set.
    form.showPlanDate();
    reportSaved(form, path);
}

} // namespace

void TMainForm::NewSaveMenuClick()
{
    if (!prompter().confirm(this, QStringLiteral("今日の日付で保存します。\n保存しますか？"))) {
        return;
    }
    QWidget *const activePage = planForm().currentWidget();
    // The printed plan date and the age computed by the validation both
    // refer to today, whatever the plan-date field shows.
    gatherAndWrite(*this, clock().now(), activePage);
}

void TMainForm::OldSaveMenuClick()
{
    if (!prompter().confirm(this, QStringLiteral("開いた時の日付で保存します。\n保存しますか？"))) {
        return;
    }
    QWidget *const activePage = planForm().currentWidget();
    TDateTime date = 0;
    if (!ParseEraDate(planForm().controlText(*planfile::fieldByKey("PlanDate")), date)) {
        ShowDateError(planForm().control<TEdit>(*planfile::fieldByKey("PlanDate")));
        return;
    }
    gatherAndWrite(*this, date, activePage);
}
