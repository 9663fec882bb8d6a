// The two era-date fields and the age. The era editor works on CP932 byte
// positions while a QLineEdit counts characters, so the caret is converted
// both ways around every key.
//
// The view holds the plan date and the birth date as last committed, and
// the age between them: a key that completes a date, Enter and leaving the
// field commit, and the age follows either date at every such change.

#include "app/PlanForm.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "app/Clock.h"
#include "app/FormControls.h"
#include "app/GuiText.h"
#include "planfile/PlanCheck.h"
#include "planfile/PlanFieldValue.h"
#include "dialogs/Prompter.h"

#include <QKeyEvent>
#include <QLineEdit>

void TPlanForm::watchDates()
{
    m_planDateEdit = control<TEdit>(*planfile::fieldByKey("PlanDate"));
    m_birthEdit = control<TEdit>(*planfile::fieldByKey("BirthDate"));
    m_ageLabel = control<TClickLabel>(*planfile::fieldByKey("Age"));
    connect(m_ageLabel, &TClickLabel::clicked, this, &TPlanForm::OldLabelClick);
    connect(m_ageUnit, &TClickLabel::clicked, this, &TPlanForm::OldLabelClick);
    m_planDateEdit->installEventFilter(this);
    m_birthEdit->installEventFilter(this);
}

bool TPlanForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched != m_planDateEdit && watched != m_birthEdit) {
        return QTabWidget::eventFilter(watched, event);
    }
    auto *field = static_cast<QLineEdit *>(watched);
    switch (event->type()) {
    case QEvent::FocusOut:
        commitDateQuietly(field);
        return false;
    case QEvent::KeyPress:
    case QEvent::KeyRelease:
    case QEvent::InputMethod:
        return handleDateKey(field, event);
    default:
        return QTabWidget::eventFilter(watched, event);
    }
}

bool TPlanForm::handleDateKey(QLineEdit *field, QEvent *event)
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

void TPlanForm::DateItemKeyDown(QLineEdit *field, int &key)
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

void TPlanForm::DateItemKeyPress(QLineEdit *field, char key)
{
    const QString before = field->text();
    std::string text = guitext::toCp932(before);
    const int characters = field->hasSelectedText() ? field->selectionStart() : field->cursorPosition();
    int caret = static_cast<int>(cp932::bytesInChars(text, static_cast<std::size_t>(characters)));
    EditEraDate(caret, text, key, m_clock->now());
    const QString after = guitext::fromCp932(text);
    if (after != before) {
        field->setText(after);
        recordEdit(field);
        followDates();
    }
    field->setCursorPosition(static_cast<int>(cp932::charsInBytes(text, static_cast<std::size_t>(caret))));
}

void TPlanForm::showDateError(const planfile::PlanField &field)
{
    ShowDateError(control<QLineEdit>(field));
}

void TPlanForm::ShowDateError(QLineEdit *field)
{
    prompter().information(window(), guitext::fromCp932(planfile::dateErrorMessage()));
    setCurrentWidget(page(1));
    field->setFocus();
}

void TPlanForm::commitDateQuietly(QLineEdit *field)
{
    if (m_enterDownIn == field) {
        m_enterDownIn = nullptr;
    }
    TDateTime date = 0;
    if (!ParseEraDate(guitext::toCp932(field->text()), date)) {
        return;
    }
    // Also while a save moves the focus: the plan date the save uses stays.
    if (field == m_planDateEdit) {
        m_planDate = date;
        followDates();
        return;
    }
    m_birthDate = date;
    m_age = AgeInYears(m_birthDate, m_planDate);
    showAge();
}

void TPlanForm::followDates()
{
    TDateTime date = 0;
    if (ParseEraDate(guitext::toCp932(m_planDateEdit->text()), date)) {
        m_planDate = date;
    }
    if (ParseEraDate(guitext::toCp932(m_birthEdit->text()), date)) {
        takeBirthDate(date);
    }
}

void TPlanForm::startDates(TDateTime now)
{
    ++m_filling;
    m_planDate = now;
    m_birthDate = now;
    m_age = 0;
    std::string text;
    char key = 0;
    int caret = -1;
    EditEraDate(caret, text, key);
    m_birthEdit->setText(guitext::fromCp932(text));
    caret = -2;
    key = 0;
    EditEraDate(caret, text, key, now);
    m_planDateEdit->setText(guitext::fromCp932(text));
    --m_filling;
}

void TPlanForm::showPlanDate(const TPRACTDATA &plan)
{
    ++m_filling;
    m_planDate = plan.PlanDate;
    m_birthDate = plan.BirthDate;
    m_age = plan.Age;
    m_planDateEdit->setText(guitext::fromCp932(FormatEraDate(m_planDate)));
    showHeader();
    showAge();
    --m_filling;
}

void TPlanForm::restartPlanDate(TDateTime now)
{
    ++m_filling;
    std::string text;
    char key = 0;
    int caret = -2;
    EditEraDate(caret, text, key, now);
    m_planDateEdit->setText(guitext::fromCp932(text));
    showHeader();
    m_planDate = now;
    TDateTime birth = 0;
    if (ParseEraDate(guitext::toCp932(m_birthEdit->text()), birth)) {
        m_birthDate = birth;
        m_age = AgeInYears(birth, now);
        m_ageLabel->setText(QString::number(m_age));
    }
    --m_filling;
}

void TPlanForm::holdPlanDate(TDateTime planDate)
{
    m_planDate = planDate;
    TDateTime birth = 0;
    if (ParseEraDate(guitext::toCp932(m_birthEdit->text()), birth)) {
        takeBirthDate(birth);
    }
}

// A birth date after the plan date has no age; saving refuses it.
void TPlanForm::showAge()
{
    if (planfile::bornAfterPlanDate(m_birthDate, m_planDate)) {
        m_ageLabel->clear();
    } else {
        m_ageLabel->setText(QString::number(m_age));
    }
}

// The date `field` shows; when it is none, the date error on `field`.
std::optional<TDateTime> TPlanForm::dateOf(QLineEdit *field)
{
    TDateTime date = 0;
    if (!ParseEraDate(guitext::toCp932(field->text()), date)) {
        ShowDateError(field);
        return std::nullopt;
    }
    return date;
}

void TPlanForm::takeBirthDate(TDateTime birth)
{
    m_birthDate = birth;
    m_age = AgeInYears(m_birthDate, m_planDate);
    showAge();
}

void TPlanForm::PlanDateEditKeyUp()
{
    if (const auto date = dateOf(m_planDateEdit)) {
        m_planDate = *date;
        followDates();
    }
}

void TPlanForm::BirthEditKeyUp()
{
    if (const auto date = dateOf(m_birthEdit)) {
        takeBirthDate(*date);
    }
}

void TPlanForm::OldLabelClick()
{
    const auto plan = dateOf(m_planDateEdit);
    if (!plan) {
        return;
    }
    m_planDate = *plan;
    if (const auto birth = dateOf(m_birthEdit)) {
        takeBirthDate(*birth);
    }
}
