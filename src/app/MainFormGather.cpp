// The checks before saving: the plan view reads the controls into a plan
// and runs them (planfile::CheckPlan). The first fault is reported with its
// message and the focus in the faulty control, and leaves `Plan` as it was.

#include "app/MainForm.h"

#include "app/FormControls.h"
#include "app/GuiText.h"
#include "app/PlanForm.h"
#include "dialogs/Prompter.h"

void TMainForm::reportFault(const planfile::PlanFault &fault)
{
    if (fault.where->kind == planfile::FieldKind::Date) {
        ShowDateError(planForm().control<TEdit>(*fault.where));
        return;
    }
    prompter().information(this, guitext::fromCp932(fault.message));
    planForm().focusField(*fault.where);
}

std::optional<TPRACTDATA> TMainForm::readPlan(std::optional<TDateTime> planDate)
{
    const TPlanForm::Reading reading = planDate ? planForm().read(*planDate) : planForm().read();
    if (!reading.plan) {
        reportFault(reading.fault);
    }
    return reading.plan;
}

bool TMainForm::GatherPlan()
{
    return GatherPlan(Plan.PlanDate);
}

bool TMainForm::GatherPlan(TDateTime planDate)
{
    std::optional<TPRACTDATA> plan = readPlan(planDate);
    if (!plan) {
        return false;
    }
    Plan = *plan;
    // The checks end on page 2, as a reader going through the form would;
    // a save puts back the page the user was on.
    planForm().setCurrentWidget(planForm().page(2));
    return true;
}
