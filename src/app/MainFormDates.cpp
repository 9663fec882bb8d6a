// The two era-date fields and the age. The era editor works on CP932 byte
// positions while a QLineEdit counts characters, so the caret is converted
// both ways around every key.

#include "app/MainForm.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/PlanForm.h"
#include "planfile/PlanCheck.h"
#include "dialogs/Prompter.h"

#include <QKeyEvent>
#include <QLineEdit>

bool TMainForm::handleDateKey(QLineEdit *field, QEvent *event)
{
    if (event->type() == QEvent::InputMethod) {
        return true;
    }
    auto *keyEvent = static_cast<QKeyEvent *>(event);
    const bool enter = keyEvent->key() == Qt::Key_Return || keyEvent->key() == Qt::Key_Enter;
    if (event->type() == QEvent::KeyPress) {
        // Enter commits on its key-up, and only when it also went down here:
        // the key-up of an Enter that closed a message box reaches the field
        // the box gave the focus back to, and must not commit (and fail) again.
        if (enter) {
            m_enterDownIn = field;
        }
        int key = keyEvent->key();
        if (key == Qt::Key_Tab || key == Qt::Key_Backtab) {
            return false;
        }
        DateItemKeyDown(field, key);
        if (key == Qt::Key_Left && keyEvent->key() != Qt::Key_Left) {
            // Backspace still types its character after moving left; Delete
            // types nothing.
            if (keyEvent->key() == Qt::Key_Backspace) {
                DateItemKeyPress(field, '\b');
            }
            return true;
        }
        const QString typed = keyEvent->text();
        if (typed.isEmpty()) {
            return false; // caret movement and the like reach the field
        }
        char character = 0;
        if (typed.at(0).unicode() < 0x80) {
            character = static_cast<char>(typed.at(0).unicode());
        } else {
            const std::string bytes = guitext::toCp932(typed.left(guitext::characterLength(typed, 0)));
            character = bytes.empty() ? '?' : bytes.front();
        }
        DateItemKeyPress(field, character);
        return true;
    }
    if (event->type() == QEvent::KeyRelease && !keyEvent->isAutoRepeat() && enter) {
        const bool pressedHere = m_enterDownIn == field;
        m_enterDownIn = nullptr;
        if (!pressedHere) {
            return false;
        }
        if (field == m_planDateEdit) {
            PlanDateEditKeyUp();
        } else {
            BirthEditKeyUp();
        }
    }
    return false;
}

void TMainForm::DateItemKeyDown(QLineEdit *field, int &key)
{
    if (key != Qt::Key_Backspace && key != Qt::Key_Delete) {
        return;
    }
    key = Qt::Key_Left;
    if (field->hasSelectedText()) {
        field->setCursorPosition(field->selectionStart());
    } else {
        field->cursorBackward(false, 1);
    }
}

void TMainForm::DateItemKeyPress(QLineEdit *field, char key)
{
    const QString before = field->text();
    std::string text = guitext::toCp932(before);
    const int characters = field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
    int caret = static_cast<int>(cp932::bytesInChars(text, static_cast<std::size_t>(characters)));
    EditEraDate(caret, text, key, clock().now());
    const QString after = guitext::fromCp932(text);
    if (after != before) {
        field->setText(after);
        planForm().recordEdit(field);
        followDates();
    }
    field->setCursorPosition(static_cast<int>(cp932::charsInBytes(text, static_cast<std::size_t>(caret))));
}

void TMainForm::ShowDateError(QLineEdit *field)
{
    prompter().information(this, guitext::fromCp932(planfile::dateErrorMessage()));
    planForm().setCurrentWidget(planForm().page(1));
    field->setFocus();
}

void TMainForm::commitDateQuietly(QLineEdit *field)
{
    if (m_enterDownIn == field) {
        m_enterDownIn = nullptr;
    }
    TDateTime date = 0;
    if (!m_editing || !ParseEraDate(guitext::toCp932(field->text()), date)) {
        return;
    }
    // Also while a save moves the focus: the plan date the save uses stays.
    if (field == m_planDateEdit) {
        Plan.PlanDate = date;
        return;
    }
    Plan.BirthDate = date;
    Plan.Age = AgeInYears(Plan.BirthDate, Plan.PlanDate);
    showAge();
}

void TMainForm::followDates()
{
    TDateTime date = 0;
    if (ParseEraDate(guitext::toCp932(m_planDateEdit->text()), date)) {
        Plan.PlanDate = date;
    }
    if (!ParseEraDate(guitext::toCp932(m_birthEdit->text()), date)) {
        return;
    }
    Plan.BirthDate = date;
    Plan.Age = AgeInYears(Plan.BirthDate, Plan.PlanDate);
    showAge();
}

void TMainForm::showPlanDate()
{
    const ProgramFill fill(*this);
    m_planDateEdit->setText(guitext::fromCp932(FormatEraDate(Plan.PlanDate)));
    planForm().showHeader();
    showAge();
}

// A birth date after the plan date has no age; saving refuses it.
void TMainForm::showAge()
{
    if (planfile::bornAfterPlanDate(Plan.BirthDate, Plan.PlanDate)) {
        m_ageLabel->clear();
    } else {
        m_ageLabel->setText(QString::number(Plan.Age));
    }
}

void TMainForm::PlanDateEditKeyUp()
{
    TDateTime date = 0;
    if (!ParseEraDate(guitext::toCp932(m_planDateEdit->text()), date)) {
        ShowDateError(m_planDateEdit);
        return;
    }
    Plan.PlanDate = date;
    followDates();
}

void TMainForm::BirthEditKeyUp()
{
    TDateTime date = 0;
    if (!ParseEraDate(guitext::toCp932(m_birthEdit->text()), date)) {
        ShowDateError(m_birthEdit);
        return;
    }
    Plan.BirthDate = date;
    Plan.Age = AgeInYears(Plan.BirthDate, Plan.PlanDate);
    showAge();
}

void TMainForm::OldLabelClick()
{
    TDateTime date = 0;
    if (!ParseEraDate(guitext::toCp932(m_planDateEdit->text()), date)) {
        ShowDateError(m_planDateEdit);
        return;
    }
    Plan.PlanDate = date;
    if (!ParseEraDate(guitext::toCp932(m_birthEdit->text()), date)) {
        ShowDateError(m_birthEdit);
        return;
    }
    Plan.BirthDate = date;
    Plan.Age = AgeInYears(Plan.BirthDate, Plan.PlanDate);
    showAge();
}
