// The level-column mark cells and the priority-mark cells of both tables.

#include "app/MainForm.h"

#include "dialogs/ABCForm.h"
#include "app/ControlNames.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "planfile/PlanFormat.h"
#include "dialogs/Prompter.h"

#include <QCheckBox>

namespace {

QString priorityCaption(int value)
{
    return guitext::fromCp932(planfile::kPriorityMarks[value == 1 || value == 2 ? value : 0]);
}

} // namespace

// Left button: toggles the cell's selection (white / aqua). Right button:
// the A/B/C dialog, whose answer applies to the whole grid, whichever cell
// was clicked. Every release except a cancelled dialog counts as an edit.
void TMainForm::ABCMouseUp(Qt::MouseButton button)
{
    auto *cell = qobject_cast<TMarkCell *>(sender());
    const QColor aqua(0, 255, 255);
    if (button == Qt::LeftButton && cell != nullptr) {
        cell->setColor(cell->color() == QColor(Qt::white) ? aqua : QColor(Qt::white));
    } else if (button == Qt::RightButton) {
        const int result = ABCForm->exec();
        if (result == TABCForm::ResultCancel) {
            return;
        }
        for (const int row : formnames::rows()) {
            for (int column = 0; column < formnames::kColumns; ++column) {
                auto *target = control<TMarkCell>(formnames::abc(row, column));
                switch (result) {
                case TABCForm::ResultEraseAll:
                    target->setColor(Qt::white);
                    target->setText(QStringLiteral("　"));
                    break;
                case TABCForm::ResultWriteAll:
                    target->setColor(Qt::white);
                    target->setText(ABCForm->MarkText);
                    break;
                case TABCForm::ResultOk:
                    if (target->color() == aqua) {
                        target->setColor(Qt::white);
                        target->setText(ABCForm->MarkText);
                    }
                    break;
                default:
                    break;
                }
            }
        }
    }
    Modified = true;
}

// Cycles the row's priority mark "　" -> "○" -> "◎" -> "　". The row comes
// from the digits after "Special" in the cell's name.
void TMainForm::SpecialClick()
{
    auto *cell = qobject_cast<TClickLabel *>(sender());
    if (cell == nullptr) {
        return;
    }
    bool ok = false;
    const int row = cell->objectName().mid(7, 2).toInt(&ok);
    if (!ok) {
        prompter().error(this, QStringLiteral("*** System Error"));
        return;
    }
    if ((row >= 0 && row <= 12) || (row >= 20 && row <= 27)) {
        TPRACTITEM &item = planRow(Plan, row);
        item.Special = (item.Special + 1) % 3;
        cell->setText(priorityCaption(item.Special));
        // A priority mark is part of the plan: changing it is an edit.
        Modified = true;
    }
}
