// The two save commands of the File menu: "今日の日付で保存" dates the plan
// today, "開いた時の日付で保存" takes the date shown in the plan-date field.
// Both confirm, check the plan the view reads, and write the plan that
// passes as the plan file "実施計画 <name> <y>_<m>_<d>.pdf" into the save folder.
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

} // namespace

// A failed save: the fixed message, and on its second line why.
void TMainForm::reportSaveFailure(const QString &reason)
{
    prompter().error(this, kSaveFailed + QLatin1Char('\n') + reason);
}

// Writes the plan file at `path`. Returns whether it was written; a failure
// has been reported.
bool TMainForm::writePlanFile(const TPRACTDATA &plan, const QString &path)
{
    try {
        const TDateTime now = clock().now();
        SavePlanPdf(planPath(path), plan, PlanCreatorText(now), now);
        return true;
    } catch (const std::exception &e) {
        // The report has already discarded its document, so the next save
        // starts afresh; the old file, if any, is as it was.
        reportSaveFailure(saveFailureReason(e));
    } catch (...) {
        reportSaveFailure(QString());
    }
    return false;
}

void TMainForm::gatherAndWrite(TDateTime planDate, QWidget *activePage)
{
    std::optional<TPRACTDATA> plan = GatherPlan(planDate);
    if (!plan) {
        return;
    }
    // The user's page is back before any warning about the plan.
    if (planView().currentWidget() != activePage) {
        planView().setCurrentWidget(activePage);
    }
    if (!planView().ConfirmLookAlikes() || !planView().ConfirmPrintedFit(*plan)) {
        return;
    }

    const std::string fileName = PlanFileName(*plan);
    const QString path = joinFolder(Registory->SaveFolder, guitext::fromCp932(fileName));
    // A name that would reach outside the save folder is never looked at.
    if (!IsPlainFileName(fileName)) {
        reportSaveFailure(QStringLiteral("氏名にフォルダーの区切り文字（/ や \\）は使えません。"));
        return;
    }
    if (FileInUse(path)) {
        prompter().error(this, QStringLiteral("PDFは、他で使用されています。\n保存できません。"));
        return;
    }
    if (!confirmReplace(path) || !writePlanFile(*plan, path)) {
        return;
    }
    Modified = false;
    noteSaved(path);
    holdPlanFile(path);
    // The plan date the file holds, which "今日の日付で保存" has just set.
    planView().showPlanDate(*plan);
    // The status bar says where the plan went, with the full path.
    showStatus(QStringLiteral("保存しました: ") + QDir::toNativeSeparators(QFileInfo(path).absoluteFilePath()));
}

void TMainForm::NewSaveMenuClick()
{
    if (!prompter().confirm(this, QStringLiteral("今日の日付で保存します。\n保存しますか？"))) {
        return;
    }
    QWidget *const activePage = planView().currentWidget();
    // The printed plan date and the age computed by the validation both
    // refer to today, whatever the plan-date field shows.
    gatherAndWrite(clock().now(), activePage);
}

void TMainForm::OldSaveMenuClick()
{
    if (!prompter().confirm(this, QStringLiteral("開いた時の日付で保存します。\n保存しますか？"))) {
        return;
    }
    QWidget *const activePage = planView().currentWidget();
    TDateTime date = 0;
    if (!ParseEraDate(planView().controlText(*planfile::fieldByKey("PlanDate")), date)) {
        planView().showDateError(*planfile::fieldByKey("PlanDate"));
        return;
    }
    gatherAndWrite(date, activePage);
}
