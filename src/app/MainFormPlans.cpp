// The commands over the patient's plans in the File menu:
//   "計画書一覧" lists the plans of the save folder (or another folder) and
//   opens one, or starts the next plan from one;
//   "この計画書を元に新規作成" starts the next plan from the plan in the
//   editor: everything stays but the plan date, which becomes today, and
//   the age; the plan counts as changed, and saving it writes a new file
//   named with the new date;
//   "前回との違い" compares the plan in the editor with the patient's
//   previous plan in the save folder and can put a summary of the changes
//   into 前回計画書作成時からの変化点;
//   "設定 → 見直し間隔" sets the months from a patient's latest plan to the
//   next review that 計画書一覧 shows, kept in the settings store at once.

#include "app/MainForm.h"

#include "planfile/PlanFieldValue.h"
#include "plan/FilePath.h"

#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/PlanDiffForm.h"
#include "app/PlanFiles.h"
#include "app/PlanForm.h"
#include "app/PlanListForm.h"
#include "dialogs/FileChooser.h"
#include "dialogs/Prompter.h"
#include "plan/Common.h"
#include "planfile/PlanFormat.h"
#include "planindex/PlanDiff.h"
#include "planindex/PlanIndex.h"
#include "planio/PlanRead.h"
#include "planindex/ReviewDue.h"
#include "settings/Registory.h"

#include <QFile>
#include <QInputDialog>
#include <QMenu>
#include <QSpinBox>
#include <QStandardPaths>
#include <QTextCursor>

#include <variant>

void TMainForm::buildPlanMenus()
{
    // Between the separator after the two save commands and 印刷, with a
    // separator of their own before 印刷.
    const auto item = [this](const char *name, const QString &caption, void (TMainForm::*slot)()) {
        auto *action = new QAction(caption, FileMenu);
        action->setObjectName(QString::fromLatin1(name));
        connect(action, &QAction::triggered, this, slot);
        FileMenu->insertAction(N3, action);
        return action;
    };
    PlanListMenu = item("PlanListMenu", QStringLiteral("計画書一覧(&L)"), &TMainForm::PlanListMenuClick);
    NextPlanMenu = item("NextPlanMenu", QStringLiteral("この計画書を元に新規作成(&B)"), &TMainForm::NextPlanMenuClick);
    DiffMenu = item("DiffMenu", QStringLiteral("前回との違い(&D)"), &TMainForm::DiffMenuClick);
    FileMenu->insertSeparator(N3)->setObjectName(QStringLiteral("PlanMenuSeparator"));
    ReviewMenu = new QAction(QStringLiteral("見直し間隔(&R)"), NSet);
    ReviewMenu->setObjectName(QStringLiteral("ReviewMenu"));
    connect(ReviewMenu, &QAction::triggered, this, &TMainForm::ReviewMenuClick);
    NSet->addAction(ReviewMenu);
    // Both act on the plan in the editor, so they wait for one.
    connect(FileMenu, &QMenu::aboutToShow, this, [this] {
        NextPlanMenu->setEnabled(m_editing);
        DiffMenu->setEnabled(m_editing);
    });
}

std::filesystem::path TMainForm::planIndexCacheFile() const
{
    const QString dir = m_cacheDir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                                             : m_cacheDir;
    return dir.isEmpty() ? std::filesystem::path() : planindex::cacheFileIn(planPath(dir));
}

void TMainForm::PlanListMenuClick()
{
    if (PlanListForm == nullptr) {
        PlanListForm = new TPlanListForm(this);
        // A plan opened from the list closes it and puts the editor in front;
        // one refused, or not opened because the user kept the edits, leaves
        // the list as it was.
        PlanListForm->openPlan = [this](const QString &path) {
            if (confirmDiscard() && openPlanFile(path)) {
                showEditorOverPlanList();
            }
        };
        PlanListForm->startNextPlan = [this](const QString &path) {
            if (startNextPlanFrom(path)) {
                showEditorOverPlanList();
            }
        };
        PlanListForm->chooseFolder = [this](const QString &folder) {
            return fileChooser().existingFolder(PlanListForm, folder);
        };
        PlanListForm->heldElsewhere = [this](const QString &path) { return planHolder(path); };
    }
    PlanListForm->setReview(Registory->ReviewMonths, clock().now());
    PlanListForm->showFolder(Registory->SaveFolder, planIndexCacheFile());
    PlanListForm->SearchEdit->clear();
    PlanListForm->show();
    PlanListForm->raise();
    PlanListForm->activateWindow();
    PlanListForm->focusNewestPlan();
}

void TMainForm::showEditorOverPlanList()
{
    PlanListForm->hide();
    raise();
    activateWindow();
}

void TMainForm::ReviewMenuClick()
{
    QInputDialog dialog(this);
    dialog.setObjectName(QStringLiteral("ReviewForm"));
    dialog.setWindowTitle(QStringLiteral("見直し間隔"));
    dialog.setLabelText(QStringLiteral("計画書を見直す間隔（最新の計画評価実施日から）"));
    dialog.setInputMode(QInputDialog::IntInput);
    dialog.setIntRange(planindex::kMinReviewMonths, planindex::kMaxReviewMonths);
    dialog.setIntValue(Registory->ReviewMonths);
    dialog.setOkButtonText(QStringLiteral("設定"));
    dialog.setCancelButtonText(QStringLiteral("キャンセル"));
    if (auto *months = dialog.findChild<QSpinBox *>()) {
        months->setSuffix(QStringLiteral(" か月"));
    }
    if (dialog.exec() != QDialog::Accepted) {
        return;
    }
    Registory->ReviewMonths = dialog.intValue();
    Registory->StoreReview();
    // A list already made shows the new dates at once, without reading the
    // folder again.
    if (PlanListForm != nullptr) {
        PlanListForm->setReview(Registory->ReviewMonths, clock().now());
    }
}

bool TMainForm::startNextPlanFrom(const QString &path)
{
    if (!confirmDiscard()) {
        return false;
    }
    if (!openPlanFile(path)) {
        return false;
    }
    NextPlanMenuClick();
    return true;
}

void TMainForm::NextPlanMenuClick()
{
    if (!m_editing) {
        return;
    }
    const TDateTime now = clock().now();
    {
        const ProgramFill fill(*this);
        planView().restartPlanDate(now);
    }
    // A plan of its own now: closing or replacing it asks first, and so does
    // saving over the file it came from (a next plan made the same day).
    planView().startHistory();
    Modified = true;
    releasePlanFile();
    planView().setCurrentWidget(planView().page(1));
    // Not the file any more: the status bar says what the window holds.
    showStatus(QStringLiteral("新しい計画書（未保存）: ") + planView().controlShownText(*planfile::fieldByKey("Name")));
}

void TMainForm::DiffMenuClick()
{
    if (!m_editing) {
        return;
    }
    // The plan the view reads, checked as a save checks it.
    const std::optional<TPRACTDATA> read = readPlan(std::nullopt);
    if (!read) {
        return;
    }
    const TPRACTDATA &current = *read;

    planindex::FolderIndex index;
    try {
        index = planindex::indexFolder(planPath(Registory->SaveFolder), planIndexCacheFile());
    } catch (const std::exception &) {
        prompter().error(this, QStringLiteral("計画書保存フォルダーを読めません。\n") + Registory->SaveFolder);
        return;
    }
    const planindex::IndexedPlan *previous =
        planindex::previousPlan(index, current.Name, current.BirthDate, current.PlanDate);
    if (previous == nullptr) {
        prompter().information(this, QStringLiteral("計画書保存フォルダーに、この方の前回の計画書がありません。"));
        return;
    }
    auto file = planio::readPlanFile(pathFromUtf8(previous->path));
    if (const auto *fault = std::get_if<planio::ReadFault>(&file)) {
        prompter().error(this, guitext::fromCp932(fault->text) +
                                   QString::fromStdString(fault->fileName));
        return;
    }
    const TPRACTDATA &older = std::get<planio::PlanFileRead>(file).printed.Plan;
    const auto changes = planindex::diffPlans(older, current);
    QString summary = guitext::fromCp932(planindex::changeSummary(changes));
    summary.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    if (PlanDiffForm == nullptr) {
        PlanDiffForm = new TPlanDiffForm(this);
        PlanDiffForm->insertSummary = [this](const QString &text) {
            // At the caret of 前回計画書作成時からの変化点, replacing a
            // selection, as typing would.
            const planfile::PlanField &changes = *planfile::fieldByKey("VariationText");
            auto *memo = planView().control<TMemo>(changes);
            planView().setCurrentWidget(planView().page(changes.page));
            memo->setFocus();
            memo->textCursor().insertText(text);
        };
    }
    PlanDiffForm->showChanges(changes, QStringLiteral("前回 ") + guitext::fromCp932(previous->planDateText),
                              QStringLiteral("今回 ") + planView().controlShownText(*planfile::fieldByKey("PlanDate")), summary);
    PlanDiffForm->show();
    PlanDiffForm->raise();
}
