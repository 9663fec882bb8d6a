// The plan view's values: reading the controls into a checked plan, and
// filling them from a plan. Both go through the field table, each field by
// its kind; only the two dates are read apart, as the plan is dated by one
// and the checks read the other as text.

#include "app/PlanForm.h"

#include "app/GuiText.h"
#include "plan/Common.h"
#include "plan/Marks.h"
#include "planfile/PlanFieldValue.h"
#include "planfile/PlanFormat.h"

#include <QScrollArea>
#include <QTextCursor>
#include <algorithm>

namespace {

using planfile::FieldKind;
using planfile::PlanField;

const PlanField &planDateField()
{
    static const PlanField &field = *planfile::fieldByKey("PlanDate");
    return field;
}

// The text a control shows, as the user sees it (a memo's line breaks as
// one character each, a no-break space kept).
QString displayText(const TPlanForm::FieldControl &control)
{
    if (auto *const *memo = std::get_if<TMemo *>(&control)) {
        return (*memo)->lineText();
    }
    if (auto *const *edit = std::get_if<TEdit *>(&control)) {
        return (*edit)->text();
    }
    if (auto *const *box = std::get_if<TChoiceBox *>(&control)) {
        return (*box)->currentText();
    }
    if (auto *const *label = std::get_if<TClickLabel *>(&control)) {
        return (*label)->text();
    }
    if (auto *const *cell = std::get_if<TMarkCell *>(&control)) {
        return (*cell)->text();
    }
    return QString();
}

// Selects the UTF-16 range [start, start + length) of an edit, memo or
// editable combo box. Memo positions count a line break as one character,
// which is how TMemo::lineText() counts it too.
void selectRange(const TPlanForm::FieldControl &control, qsizetype start, qsizetype length)
{
    if (auto *const *memo = std::get_if<TMemo *>(&control)) {
        QTextCursor cursor = (*memo)->textCursor();
        cursor.setPosition(static_cast<int>(start));
        cursor.setPosition(static_cast<int>(start + length), QTextCursor::KeepAnchor);
        (*memo)->setTextCursor(cursor);
    } else if (auto *const *edit = std::get_if<TEdit *>(&control)) {
        (*edit)->setSelection(static_cast<int>(start), static_cast<int>(length));
    } else if (auto *const *box = std::get_if<TChoiceBox *>(&control); box != nullptr && (*box)->lineEdit()) {
        (*box)->lineEdit()->setSelection(static_cast<int>(start), static_cast<int>(length));
    }
}

} // namespace

std::string TPlanForm::controlText(const PlanField &field) const
{
    return guitext::toCp932(controlShownText(field));
}

QString TPlanForm::controlShownText(const PlanField &field) const
{
    const FieldControl &control = fieldControl(field);
    if (auto *const *memo = std::get_if<TMemo *>(&control)) {
        return (*memo)->Text();
    }
    return displayText(control);
}

TPlanForm::Reading TPlanForm::read() const
{
    return read(std::nullopt);
}

TPlanForm::Reading TPlanForm::read(TDateTime planDate) const
{
    return read(std::optional<TDateTime>(planDate));
}

TPlanForm::Reading TPlanForm::read(std::optional<TDateTime> planDate) const
{
    Reading reading;
    TDateTime date = 0;
    if (planDate) {
        date = *planDate;
    } else if (!ParseEraDate(controlText(planDateField()), date)) {
        reading.faults.push_back(planfile::PlanFault{&planDateField(), planfile::dateErrorMessage()});
        // The other checks still run, against a plan date no birth date lies after.
        constexpr TDateTime kLatest = 2958465; // 9999-12-31
        date = kLatest;
    }

    // What the controls hold, as the checks read it: the record with every
    // text, choice, tick and mark, the birth date and the score as typed.
    planfile::PlanEntry entry;
    TPRACTDATA &p = entry.Plan;
    p.PlanDate = date;
    for (const PlanField &field : planfile::kPlanFields) {
        const FieldControl &control = fieldControl(field);
        switch (field.kind) {
        case FieldKind::Date:
            if (&field != &planDateField()) {
                entry.BirthText = controlText(field);
            }
            break;
        case FieldKind::Number:
            if (field.check > 0) {
                entry.HDSText = controlText(field);
            }
            break;
        case FieldKind::Choice:
            planfile::setFieldNumber(p, field, std::get<TChoiceBox *>(control)->currentIndex());
            break;
        case FieldKind::Tick:
            planfile::setFieldTick(p, field, std::get<QCheckBox *>(control)->isChecked());
            break;
        case FieldKind::Mark:
            planfile::setFieldText(p, field, MarkToHalfWidth(controlText(field)));
            break;
        case FieldKind::Priority:
            planfile::setFieldNumber(p, field,
                                     std::max(0, planfile::choiceIndex(planfile::kPriorityMarks, controlText(field))));
            break;
        case FieldKind::Text:
        case FieldKind::Memo:
            planfile::setFieldText(p, field, controlText(field));
            break;
        }
    }
    // The first checked field holding a character code page 932 cannot
    // hold: its text above is not what was typed.
    for (const PlanField *field : planfile::checkedFields()) {
        if (field->kind != FieldKind::Date && guitext::firstUnrepresentable(displayText(fieldControl(*field)))) {
            entry.Unrepresentable = field;
            break;
        }
    }

    TPRACTDATA plan = p;
    const std::optional<planfile::PlanFault> fault = planfile::CheckPlan(entry, &plan);
    if (!fault && reading.faults.empty()) {
        reading.plan = plan;
        return reading;
    }
    // Every fault, in check order: each field that failed is made to pass
    // (its text emptied, a valid birth date, a valid score) and the checks
    // run again from the start.
    planfile::PlanEntry probe = entry;
    for (std::optional<planfile::PlanFault> next = fault; next; next = planfile::CheckPlan(probe)) {
        if (!reading.faults.empty() && reading.faults.back().where == next->where) {
            break; // cannot be made to pass: never expected
        }
        reading.faults.push_back(*next);
        const PlanField *where = next->where;
        if (probe.Unrepresentable == where) {
            probe.Unrepresentable = nullptr;
            const auto &checked = planfile::checkedFields();
            for (auto it = std::find(checked.begin(), checked.end(), where); it != checked.end(); ++it) {
                if (*it != where && (*it)->kind != FieldKind::Date &&
                    guitext::firstUnrepresentable(displayText(fieldControl(**it)))) {
                    probe.Unrepresentable = *it;
                    break;
                }
            }
        }
        if (where->kind == FieldKind::Date) {
            probe.BirthText = FormatEraDate(std::min(probe.Plan.PlanDate, TDateTime(0) + 40000));
        } else if (where->kind == FieldKind::Number) {
            probe.HDSText = "0";
        } else {
            planfile::setFieldText(probe.Plan, *where, std::string());
        }
    }
    reading.fault = reading.faults.front();
    return reading;
}

void TPlanForm::fill(const TPRACTDATA &plan, const PlanField &field, const std::string &text)
{
    const FieldControl &control = fieldControl(field);
    switch (field.kind) {
    case FieldKind::Choice:
        std::get<TChoiceBox *>(control)->setCurrentIndex(planfile::fieldNumber(plan, field));
        return;
    case FieldKind::Tick:
        std::get<QCheckBox *>(control)->setChecked(planfile::fieldTick(plan, field));
        return;
    case FieldKind::Mark:
        std::get<TMarkCell *>(control)->setText(guitext::fromCp932(MarkToFullWidth(planfile::fieldText(plan, field))));
        return;
    default:
        break;
    }
    const QString shown = guitext::fromCp932(text);
    if (auto *const *memo = std::get_if<TMemo *>(&control)) {
        (*memo)->setText(shown);
    } else if (auto *const *edit = std::get_if<TEdit *>(&control)) {
        (*edit)->setText(shown);
    } else if (auto *const *box = std::get_if<TChoiceBox *>(&control)) {
        (*box)->setEditText(shown);
    } else if (auto *const *label = std::get_if<TClickLabel *>(&control)) {
        (*label)->setText(shown);
    }
}

void TPlanForm::show(const TPRACTDATA &plan)
{
    ++m_filling;
    for (const PlanField &field : planfile::kPlanFields) {
        fill(plan, field, planfile::printedText(plan, field));
    }
    m_planDate = plan.PlanDate;
    m_birthDate = plan.BirthDate;
    m_age = plan.Age;
    showHeader();
    --m_filling;
}

void TPlanForm::show(const planfile::PrintedPlan &printed)
{
    ++m_filling;
    for (const PlanField &field : planfile::kPlanFields) {
        const bool asPrinted =
            field.kind == FieldKind::Date || field.kind == FieldKind::Number || field.kind == FieldKind::Priority;
        fill(printed.Plan, field,
             asPrinted ? std::string(printed.firstLine(field)) : planfile::printedText(printed.Plan, field));
    }
    followDates();
    showHeader();
    --m_filling;
}

void TPlanForm::clear()
{
    ++m_filling;
    for (const PlanField &field : planfile::kPlanFields) {
        const FieldControl &control = fieldControl(field);
        if (auto *const *memo = std::get_if<TMemo *>(&control)) {
            (*memo)->clear();
        } else if (auto *const *edit = std::get_if<TEdit *>(&control)) {
            // A target period is a full-width space when empty.
            (*edit)->setText(inTableRow(field) ? kBlank : QString());
        } else if (auto *const *box = std::get_if<TChoiceBox *>(&control)) {
            (*box)->setCurrentIndex(-1);
            if ((*box)->isEditable()) {
                (*box)->setEditText(QString());
            }
        } else if (auto *const *tick = std::get_if<QCheckBox *>(&control)) {
            (*tick)->setChecked(false);
        } else if (auto *const *label = std::get_if<TClickLabel *>(&control)) {
            (*label)->setText(field.kind == FieldKind::Priority ? kBlank : QString());
        } else if (auto *const *cell = std::get_if<TMarkCell *>(&control)) {
            (*cell)->setText(kBlank);
        }
    }
    std::get<TEdit *>(fieldControl(planDateField()))->setText(QStringLiteral("平成   年  月  日"));
    m_nameHeader->clear();
    m_dateHeader->clear();
    --m_filling;
}

void TPlanForm::showHeader()
{
    m_nameHeader->setText(guitext::fromCp932(controlText(*planfile::fieldByKey("Name"))));
    m_dateHeader->setText(guitext::fromCp932(controlText(planDateField())));
}

void TPlanForm::focusField(const PlanField &field)
{
    const FieldControl &control = fieldControl(field);
    QWidget *widget = this->control(field);
    setCurrentWidget(page(field.page));
    scrollBox(field.page)->ensureWidgetVisible(widget);
    widget->setFocus();
    const QString shown = displayText(control);
    if (const auto bad = guitext::firstUnrepresentable(shown)) {
        selectRange(control, *bad, guitext::characterLength(shown, *bad));
    }
}
