#pragma once

// The layout forms of this thread, shared by saving a plan and checking one
// read back: building the items of both pages costs about as much as
// printing them, so each layout's form is built once per thread and kept. A
// form is never shared between threads, and every use fills every filled
// item afresh.

#include "planfile/PlanLayout.h"

class TPrintFormatForm;

namespace planio {

TPrintFormatForm &threadLayoutForm(const planfile::PlanLayout &layout);

} // namespace planio
