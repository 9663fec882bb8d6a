// The checks before saving: the plan view reads the controls into a plan
// and runs them (planfile::CheckPlan). The first fault is reported with its
// message and the focus in the faulty control.

#include "app/MainForm.h"

#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/PlanForm.h"
#include "dialogs/Prompter.h"

void TMainForm::reportFault(const planfile::PlanFault &fault)
{
    if (fault.where->kind == planfile::FieldKind::Date) {
        planView().showDateError(*fault.where);
        return;
    }
    prompter().information(this, guitext::fromCp932(fault.message));
    planView().focusField(*fault.where);
}

// Several faults are named in one message, each with the caption of its
// field and the text its check gives alone, in check order; the focus then
// goes to the first.
void TMainForm::reportFaults(const std::vector<planfile::PlanFault> &faults)
{
    if (faults.size() == 1) {
        reportFault(faults.front());
        return;
    }
    QStringList entries;
    for (const planfile::PlanFault &fault : faults) {
        QString message = guitext::fromCp932(fault.message);
        message.replace(QLatin1Char('\n'), QString());
        entries.append(QString::fromUtf8(fault.where->caption) + QStringLiteral("：") + message);
    }
    prompter().askWithList(this, Prompter::Kind::Information,
                           QStringLiteral("保存できません。次の%1か所を直してください。").arg(faults.size()), entries,
                           {Prompter::Button::Ok});
    const planfile::PlanField &first = *faults.front().where;
    if (first.kind == planfile::FieldKind::Date) {
        planView().setCurrentWidget(planView().page(1));
        planView().control(first)->setFocus();
    } else {
        planView().focusField(first);
    }
}

std::optional<TPRACTDATA> TMainForm::readPlan(std::optional<TDateTime> planDate)
{
    const TPlanForm::Reading reading = planDate ? planView().read(*planDate) : planView().read();
    if (!reading.plan) {
        reportFaults(reading.faults.empty() ? std::vector<planfile::PlanFault>{reading.fault} : reading.faults);
    }
    return reading.plan;
}

std::optional<TPRACTDATA> TMainForm::GatherPlan(std::optional<TDateTime> planDate)
{
    std::optional<TPRACTDATA> plan = readPlan(planDate.value_or(planView().planDate()));
    if (plan) {
        // The checks end on page 2, as a reader going through the form
        // would; a save puts back the page the user was on.
        planView().setCurrentWidget(planView().page(2));
    }
    return plan;
}
