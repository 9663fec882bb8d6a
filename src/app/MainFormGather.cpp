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

// The text controls that the checks read, by input, in the order of the
// checks (PlanCheck.h).
std::vector<std::pair<planfile::PlanInputRef, QWidget *>> TMainForm::checkedControls()
{
    using planfile::PlanInput;
    std::vector<std::pair<planfile::PlanInputRef, QWidget *>> list = {
        {{PlanInput::Name}, NameEdit},
        {{PlanInput::BirthDate}, BirthEdit},
        {{PlanInput::Kenkou}, KenkouMemo},
        {{PlanInput::Gapei}, GapeiMemo},
        {{PlanInput::Seikatsu}, SeikatsuMemo},
        {{PlanInput::EtcText}, EtcEdit},
        {{PlanInput::HomeWork}, HomeWorkEdit},
        {{PlanInput::Social}, SocialEdit},
        {{PlanInput::GoOut}, GoOutEdit},
        {{PlanInput::FreeTime}, FreeTimeEdit},
        {{PlanInput::TaiinText}, TaiinEdit},
        {{PlanInput::ExerciseText}, ExerciseEdit},
        {{PlanInput::SenseText}, SenseEdit},
        {{PlanInput::BrainText}, BrainEdit},
        {{PlanInput::KoushukuText}, KoushukuEdit},
        {{PlanInput::ArthralgiaText}, ArthralgiaEdit},
        {{PlanInput::SonotaText}, SonotaMemo},
        {{PlanInput::HDS}, HDSEdit},
    };
    const auto addRows = [&](int first, int last) {
        for (int row = first; row <= last; ++row) {
            list.push_back({{PlanInput::Goods, row}, control(formnames::goods(row))});
            list.push_back({{PlanInput::Kaigo, row}, control(formnames::kaigo(row))});
            list.push_back({{PlanInput::Time, row}, control(formnames::time(row))});
        }
    };
    addRows(0, 12);
    list.insert(list.end(), {{{PlanInput::PTOTST0Text}, PTOTST0},
                             {{PlanInput::Kango0Text}, Kango0},
                             {{PlanInput::Jitchi0Text}, Jitchi0}});
    addRows(20, 27);
    list.insert(list.end(), {{{PlanInput::PTOTST1Text}, PTOTST1},
                             {{PlanInput::Kango1Text}, Kango1},
                             {{PlanInput::Jitchi1Text}, Jitchi1},
                             {{PlanInput::SelfHopeText}, SelfHope},
                             {{PlanInput::FarmilyHopeText}, FarmilyHope},
                             {{PlanInput::LifePointText}, LifePoint},
                             {{PlanInput::RihaTergetText}, RihaTerget},
                             {{PlanInput::SelfDoText}, SelfDo},
                             {{PlanInput::AskFarmilyText}, AskFarmily},
                             {{PlanInput::DiseseCareText}, DiseseCare},
                             {{PlanInput::VariationText}, Variation},
                             {{PlanInput::RemarkText}, Remark}});
    for (int n = 1; n <= formnames::kTeamBoxes; ++n) {
        list.push_back({{PlanInput::Team, n}, control(formnames::teamBox(n))});
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
    for (const auto &[ref, widget] : controls) {
        if (ref.input == planfile::PlanInput::BirthDate) {
            continue;
        }
        if (!entry.Unrepresentable) {
            const QString shown = displayText(widget);
            if (const auto bad = guitext::firstUnrepresentable(shown)) {
                entry.Unrepresentable = ref;
                badAt = *bad;
                badLength = guitext::characterLength(shown, *bad);
            }
        }
        if (ref.input == planfile::PlanInput::HDS) {
            entry.HDSText = controlText(widget);
        } else {
            planfile::setInputText(p, ref, controlText(widget));
        }
    }

    const std::optional<planfile::PlanFault> fault = planfile::CheckPlan(entry, &Plan);
    if (!fault) {
        PageControl1->setCurrentWidget(TabSheet2);
        return true;
    }
    QWidget *faulty = nullptr;
    for (const auto &[ref, widget] : controls) {
        if (ref == fault->where) {
            faulty = widget;
        }
    }
    if (fault->where.input == planfile::PlanInput::BirthDate) {
        ShowDateError(BirthEdit);
        return false;
    }
    // The checks reach page 2 after every control of page 1 has passed.
    QWidget *page = planfile::onSecondPage(fault->where.input) ? TabSheet2 : TabSheet1;
    PageControl1->setCurrentWidget(page);
    if (entry.Unrepresentable == fault->where) {
        reportFault(guitext::fromCp932(fault->message), page, faulty, badAt, badLength);
    } else {
        reportFault(guitext::fromCp932(fault->message), page, faulty);
    }
    return false;
}
