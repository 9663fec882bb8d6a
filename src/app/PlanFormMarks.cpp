// The level-column mark cells and the priority-mark cells of both tables.

#include "app/PlanForm.h"

#include "app/FormControls.h"
#include "app/GuiText.h"
#include "dialogs/ABCForm.h"
#include "dialogs/Prompter.h"
#include "planfile/PlanFieldValue.h"
#include "planfile/PlanFormat.h"

namespace {

QString priorityCaption(int value)
{
    return guitext::fromCp932(planfile::kPriorityMarks[value == 1 || value == 2 ? value : 0]);
}

} // namespace

void TPlanForm::watchMarks()
{
    for (const planfile::PlanField &field : planfile::kPlanFields) {
        if (field.kind == planfile::FieldKind::Mark) {
            connect(control<TMarkCell>(field), &TMarkCell::mouseUp, this, &TPlanForm::ABCMouseUp);
        } else if (field.kind == planfile::FieldKind::Priority) {
            connect(control<TClickLabel>(field), &TClickLabel::clicked, this, &TPlanForm::SpecialClick);
        }
    }
}

// Left button: toggles the cell's selection (white / aqua). Right button:
// the A/B/C dialog, whose answer applies to the whole grid, whichever cell
// was clicked. Every release except a cancelled dialog counts as an edit.
void TPlanForm::ABCMouseUp(Qt::MouseButton button)
{
    auto *cell = qobject_cast<TMarkCell *>(sender());
    const QColor aqua(0, 255, 255);
    if (button == Qt::LeftButton && cell != nullptr) {
        cell->setColor(cell->color() == QColor(Qt::white) ? aqua : QColor(Qt::white));
    } else if (button == Qt::RightButton) {
        // From the keyboard with no cell selected: the dialog is for the
        // cell that has the focus.
        if (cell != nullptr && cell->hasFocus()) {
            bool anySelected = false;
            for (const planfile::PlanField &field : planfile::kPlanFields) {
                if (field.kind == planfile::FieldKind::Mark && control<TMarkCell>(field)->color() == aqua) {
                    anySelected = true;
                    break;
                }
            }
            if (!anySelected) {
                cell->setColor(aqua);
            }
        }
        if (m_abcForm == nullptr) {
            m_abcForm = new TABCForm(this);
        }
        const int result = m_abcForm->exec();
        if (result == TABCForm::ResultCancel) {
            return;
        }
        for (const planfile::PlanField &field : planfile::kPlanFields) {
            if (field.kind != planfile::FieldKind::Mark) {
                continue;
            }
            auto *target = control<TMarkCell>(field);
            switch (result) {
            case TABCForm::ResultEraseAll:
                target->setColor(Qt::white);
                target->setText(QStringLiteral("　"));
                break;
            case TABCForm::ResultWriteAll:
                target->setColor(Qt::white);
                target->setText(m_abcForm->MarkText);
                break;
            case TABCForm::ResultOk:
                if (target->color() == aqua) {
                    target->setColor(Qt::white);
                    target->setText(m_abcForm->MarkText);
                }
                break;
            default:
                break;
            }
        }
    }
    // One step of the undo history (none for a selection alone); an edit.
    recordEdit();
}

// Cycles the row's priority mark "　" -> "○" -> "◎" -> "　".
void TPlanForm::SpecialClick()
{
    auto *cell = qobject_cast<TClickLabel *>(sender());
    if (cell == nullptr) {
        return;
    }
    const planfile::PlanField *field = fieldOf(cell);
    if (field == nullptr || field->kind != planfile::FieldKind::Priority) {
        prompter().error(window(), QStringLiteral("*** System Error"));
        return;
    }
    const int shown = planfile::choiceIndex(planfile::kPriorityMarks, guitext::toCp932(cell->text()));
    const std::int32_t mark = (std::max(0, shown) + 1) % 3;
    cell->setText(priorityCaption(mark));
    // A priority mark is part of the plan: changing it is an edit.
    recordEdit();
}
