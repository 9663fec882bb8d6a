// The commands over the patient's plans in the File menu:
//   "計画書一覧" lists the plans of the save folder (or another folder) and
//   opens one, or starts the next plan from one;
//   "この計画書を元に新規作成" starts the next plan from the plan in the
//   editor: everything stays but the plan date, which becomes today, and
//   the age; the plan counts as changed, and saving it writes a new file
//   named with the new date;
//   "前回との違い" compares the plan in the editor with the patient's
//   previous plan in the save folder and can put a summary of the changes
//   into 前回計画書作成時からの変化点.

#include "app/MainForm.h"

#include "planfile/PlanFieldValue.h"

#include "app/ControlNames.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/PlanDiffForm.h"
#include "app/PlanFiles.h"
#include "app/PlanListForm.h"
#include "dialogs/FileChooser.h"
#include "dialogs/Prompter.h"
#include "plan/Common.h"
#include "planfile/PlanFormat.h"
#include "planindex/PlanDiff.h"
#include "planindex/PlanIndex.h"
#include "planio/PlanRead.h"
#include "settings/Registory.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFile>
#include <QMenu>
#include <QStandardPaths>
#include <QTabWidget>
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
    PlanListMenu = item("PlanListMenu", QStringLiteral("計画書一覧"), &TMainForm::PlanListMenuClick);
    NextPlanMenu = item("NextPlanMenu", QStringLiteral("この計画書を元に新規作成"), &TMainForm::NextPlanMenuClick);
    DiffMenu = item("DiffMenu", QStringLiteral("前回との違い"), &TMainForm::DiffMenuClick);
    FileMenu->insertSeparator(N3)->setObjectName(QStringLiteral("PlanMenuSeparator"));
    // Both act on the plan in the editor, so they wait for one.
    connect(FileMenu, &QMenu::aboutToShow, this, [this] {
        NextPlanMenu->setEnabled(m_editing);
        DiffMenu->setEnabled(m_editing);
    });
}

std::string TMainForm::planIndexCacheFile() const
{
    const QString dir = m_cacheDir.isEmpty() ? QStandardPaths::writableLocation(QStandardPaths::CacheLocation)
                                             : m_cacheDir;
    return dir.isEmpty() ? std::string() : planindex::cacheFileIn(nativePath(dir)).string();
}

void TMainForm::PlanListMenuClick()
{
    if (PlanListForm == nullptr) {
        PlanListForm = new TPlanListForm(this);
        PlanListForm->openPlan = [this](const QString &path) {
            if (!confirmDiscard()) {
                return;
            }
            openPlanFile(path);
        };
        PlanListForm->startNextPlan = [this](const QString &path) { startNextPlanFrom(path); };
        PlanListForm->chooseFolder = [this](const QString &folder) {
            return fileChooser().existingFolder(PlanListForm, folder);
        };
    }
    PlanListForm->showFolder(Registory->SaveFolder, planIndexCacheFile());
    PlanListForm->SearchEdit->clear();
    PlanListForm->show();
    PlanListForm->raise();
    PlanListForm->activateWindow();
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
        std::string text;
        char key = 0;
        int caret = -2;
        EditEraDate(caret, text, key, now);
        PlanDateEdit->setText(guitext::fromCp932(text));
        DateLabel->setText(PlanDateEdit->text());
        Plan.PlanDate = now;
        TDateTime birth = 0;
        if (ParseEraDate(guitext::toCp932(BirthEdit->text()), birth)) {
            Plan.BirthDate = birth;
            Plan.Age = AgeInYears(birth, now);
            OldLabel->setText(QString::number(Plan.Age));
        }
    }
    // A plan of its own now: closing or replacing it asks first, and so does
    // saving over the file it came from (a next plan made the same day).
    Modified = true;
    PlanFile = PlanFileStamp{};
    PageControl1->setCurrentWidget(TabSheet1);
}

// The plan as the editor shows it, read without the checks of a save.
TPRACTDATA TMainForm::editorPlan()
{
    TPRACTDATA p = Plan;
    for (const auto &[field, widget] : checkedControls()) {
        if (field->kind == planfile::FieldKind::Date) {
            continue;
        }
        if (field->kind == planfile::FieldKind::Number) {
            const auto hds = planfile::readNumber(controlText(widget));
            planfile::setFieldNumber(p, *field, hds && *hds >= 0 && *hds <= 99 ? static_cast<std::int32_t>(*hds) : 0);
        } else {
            planfile::setFieldText(p, *field, controlText(widget));
        }
    }
    readChoicesAndMarks(p);
    for (const int row : formnames::rows()) {
        TPRACTITEM &item = planRow(p, row);
        const std::string mark = guitext::toCp932(control<TClickLabel>(formnames::special(row))->text());
        const int special = planfile::choiceIndex(planfile::kPriorityMarks, mark);
        item.Special = special > 0 ? special : 0;
    }
    ParseEraDate(guitext::toCp932(PlanDateEdit->text()), p.PlanDate);
    ParseEraDate(guitext::toCp932(BirthEdit->text()), p.BirthDate);
    p.Age = AgeInYears(p.BirthDate, p.PlanDate);
    return p;
}

void TMainForm::DiffMenuClick()
{
    if (!m_editing) {
        return;
    }
    TDateTime planDate = 0;
    if (!ParseEraDate(guitext::toCp932(PlanDateEdit->text()), planDate)) {
        ShowDateError(PlanDateEdit);
        return;
    }
    TDateTime birth = 0;
    if (!ParseEraDate(guitext::toCp932(BirthEdit->text()), birth)) {
        ShowDateError(BirthEdit);
        return;
    }
    const TPRACTDATA current = editorPlan();

    planindex::FolderIndex index;
    try {
        index = planindex::indexFolder(nativePath(Registory->SaveFolder), planIndexCacheFile());
    } catch (const std::exception &) {
        prompter().error(this, QStringLiteral("計画書保存フォルダーを読めません。\n") + Registory->SaveFolder);
        return;
    }
    const planindex::IndexedPlan *previous = planindex::previousPlan(index, current.Name, birth, planDate);
    if (previous == nullptr) {
        prompter().information(this, QStringLiteral("計画書保存フォルダーに、この方の前回の計画書がありません。"));
        return;
    }
    auto read = planio::readPlanFile(previous->path);
    if (const auto *fault = std::get_if<planio::ReadFault>(&read)) {
        prompter().error(this, guitext::fromCp932(fault->text) +
                                   QFile::decodeName(QByteArray::fromStdString(fault->fileName)));
        return;
    }
    const TPRACTDATA &older = std::get<planio::PlanFileRead>(read).printed.Plan;
    const auto changes = planindex::diffPlans(older, current);
    QString summary = guitext::fromCp932(planindex::changeSummary(changes));
    summary.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));

    if (PlanDiffForm == nullptr) {
        PlanDiffForm = new TPlanDiffForm(this);
        PlanDiffForm->insertSummary = [this](const QString &text) {
            // At the caret, replacing a selection, as typing would.
            PageControl1->setCurrentWidget(TabSheet2);
            Variation->setFocus();
            Variation->textCursor().insertText(text);
        };
    }
    PlanDiffForm->showChanges(changes, QStringLiteral("前回 ") + guitext::fromCp932(previous->planDateText),
                              QStringLiteral("今回 ") + PlanDateEdit->text(), summary);
    PlanDiffForm->show();
    PlanDiffForm->raise();
}
