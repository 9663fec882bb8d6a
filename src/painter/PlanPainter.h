#pragma once

// Drawing saved or edited plans through QPainter: the two pages of the plan
// layout, as the plan file prints them, on any paint device. Printing and
// print preview go through here instead of a PDF viewer, so a plan prints in
// the Gothic faces it was laid out for whatever viewer the desktop has.

#include "plan/PracticePlanType.h"

#include <memory>
#include <vector>

class QPainter;
class QPagedPaintDevice;
class TPrintFormatForm;

// The plan layout filled with one plan, drawn page by page.
class PlanPainter {
public:
    PlanPainter();
    ~PlanPainter();
    PlanPainter(const PlanPainter &) = delete;
    PlanPainter &operator=(const PlanPainter &) = delete;

    // Writes `plan` into the layout's items, as saving it would.
    void setPlan(const TPRACTDATA &plan);
    // Draws page 1 or 2. The painter's user space must be PDF points with
    // the origin at the top-left corner of the page.
    void paintPage(QPainter &painter, int page);

private:
    std::unique_ptr<TPrintFormatForm> m_form;
};

// Prints `plans` on `device`, two A4 portrait pages each, drawn from the
// corner of the paper at the device's resolution. The caller sets up the
// device (a printer's full-page mode, a PDF writer's file). False when the
// device cannot be painted on (nothing printed).
bool printPlans(QPagedPaintDevice &device, const std::vector<TPRACTDATA> &plans);

