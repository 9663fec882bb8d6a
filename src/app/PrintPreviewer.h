#pragma once

// The print preview of plans, behind an interface so that tests can stand in
// for the modal dialog and see what would be shown.

#include "plan/PracticePlanType.h"

#include <vector>

class QWidget;

class PrintPreviewer {
public:
    virtual ~PrintPreviewer() = default;

    // Shows `plans` (two pages each) as they will print and lets the user
    // print them on one of the system's printers. Returns when the preview
    // is closed.
    virtual void preview(QWidget *parent, const std::vector<TPRACTDATA> &plans) = 0;
};

// The real preview: QPrintPreviewDialog with zoom, page setup and the
// system's printers, drawing through the plan painter.
class DialogPrintPreviewer : public PrintPreviewer {
public:
    void preview(QWidget *parent, const std::vector<TPRACTDATA> &plans) override;
};
