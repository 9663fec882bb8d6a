// Validation before saving: the controls are read into a plan entry and
// run through the checks before saving (planfile::CheckPlan), which copy
// every passing value into `Plan`. The first fault is reported with its
// message and the focus in the faulty control; the fields stored before it
// keep their new values.

#include "app/MainForm.h"

#include "plan/Common.h"
#include "app/ControlNames.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "planfile/PlanCheck.h"
#include "planfile/PlanFieldValue.h"
#include "dialogs/Prompter.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QScrollArea>
#include <QTabWidget>
#include <QTextCursor>

#include <optional>

namespace {

QString displayText(const QWidget *control)
{
    if (const auto *memo = qobject_cast<const TMemo *>(control)) {
        return memo->lineText();
    }
    if (const auto *edit = qobject_cast<const QLineEdit *>(control)) {
        return edit->text();
    }
    if (const auto *box = qobject_cast<const QComboBox *>(control)) {
        return box->currentText();
    }
    return QString();
}

// Selects the UTF-16 range [start, start + length) of an edit, memo or
// editable combo box. Memo positions count a line break as one character,
// which is how TMemo::lineText() counts it too.
void selectRange(QWidget *control, qsizetype start, qsizetype length)
{
    if (auto *memo = qobject_cast<TMemo *>(control)) {
        QTextCursor cursor = memo->textCursor();
        cursor.setPosition(static_cast<int>(start));
        cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
        memo->setTextCursor(cursor);
    } else if (auto *edit = qobject_cast<QLineEdit *>(control)) {
        edit->setSelection(static_cast<int>(start), static_cast<int>(length));
    } else if (auto *box = qobject_cast<QComboBox *>(control); box != nullptr && box->lineEdit() != nullptr) {
        box->lineEdit()->setSelection(static_cast<int>(start), static_cast<int>(length));
    }
}

} // namespace

void TMainForm::reportFault(const QString &text, QWidget *page, QWidget *control, qsizetype start, qsizetype length)
{
    prompter().information(this, text);
    PageControl1->setCurrentWidget(page);
    auto *scroll = page == TabSheet1 ? ScrollBox1 : ScrollBox2;
    scroll->ensureWidgetVisible(control);
    control->setFocus();
    if (length > 0) {
        selectRange(control, start, length);
    }
}

// The controls that the checks read, by field, in the order of the checks.
std::vector<std::pair<const planfile::PlanField *, QWidget *>> TMainForm::checkedControls()
{
    std::vector<std::pair<const planfile::PlanField *, QWidget *>> list;
    for (const planfile::PlanField *field : planfile::checkedFields()) {
        list.emplace_back(field, control(QString::fromLatin1(field->control)));
    }
    return list;
}

// The choices, ticks and level marks as the controls hold them; the texts
// are read with the checks.
void TMainForm::readChoicesAndMarks(TPRACTDATA &p) const
{
    p.Sex = SexBox->currentIndex();
    p.KaigoLevel = KaigoBox->currentIndex();
    p.Home = HomeBox->isChecked();
    p.Etc = EtcBox->isChecked();
    p.Taiin = TaiinBox->isChecked();
    p.ExerciseFlag = Exercise->isChecked();
    p.SenseFlag = Sense->isChecked();
    p.BrainFlag = Brain->isChecked();
    p.KoushukuFlag = Koushuku->isChecked();
    p.ArthralgiaFlag = Arthralgia->isChecked();
    p.SonotaFlag = Sonota->isChecked();
    for (const int row : formnames::rows()) {
        for (int column = 0; column < formnames::kColumns; ++column) {
            planRow(p, row).ABC[static_cast<std::size_t>(column)] =
                MarkToHalfWidth(control<TMarkCell>(formnames::abc(row, column))->text());
        }
    }
}

bool TMainForm::GatherPlan()
{
    PageControl1->setCurrentWidget(TabSheet1);

    // What the controls hold, as the checks read it. The record starts as a
    // copy of `Plan`, so that the plan date and the priority marks stay.
    planfile::PlanEntry entry;
    entry.Plan = Plan;
    TPRACTDATA &p = entry.Plan;
    readChoicesAndMarks(p);
    // The birth date field is read as a date only; a character code page
    // 932 cannot hold makes it unreadable like any other wrong text.
    entry.BirthText = guitext::toCp932(BirthEdit->text());
    // The first control (in check order) holding a character code page 932
    // cannot hold, and where that character is.
    qsizetype badAt = 0;
    qsizetype badLength = 0;
    const auto controls = checkedControls();
    for (const auto &[field, widget] : controls) {
        if (field->kind == planfile::FieldKind::Date) {
            continue;
        }
        if (entry.Unrepresentable == nullptr) {
            const QString shown = displayText(widget);
            if (const auto bad = guitext::firstUnrepresentable(shown)) {
                entry.Unrepresentable = field;
                badAt = *bad;
                badLength = guitext::characterLength(shown, *bad);
            }
        }
        if (field->kind == planfile::FieldKind::Number) {
            entry.HDSText = controlText(widget);
        } else {
            planfile::setFieldText(p, *field, controlText(widget));
        }
    }

    const std::optional<planfile::PlanFault> fault = planfile::CheckPlan(entry, &Plan);
    if (!fault) {
        PageControl1->setCurrentWidget(TabSheet2);
        return true;
    }
    QWidget *faulty = nullptr;
    for (const auto &[field, widget] : controls) {
        if (field == fault->where) {
            faulty = widget;
        }
    }
    if (fault->where->kind == planfile::FieldKind::Date) {
        ShowDateError(BirthEdit);
        return false;
    }
    // The checks reach page 2 after every control of page 1 has passed.
    QWidget *page = fault->where->page == 2 ? TabSheet2 : TabSheet1;
    PageControl1->setCurrentWidget(page);
    if (entry.Unrepresentable == fault->where) {
        reportFault(guitext::fromCp932(fault->message), page, faulty, badAt, badLength);
    } else {
        reportFault(guitext::fromCp932(fault->message), page, faulty);
    }
    return false;
}
