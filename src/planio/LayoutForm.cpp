#include "planio/LayoutForm.h"

#include "report/PrintFormatUnit.h"

#include <map>
#include <memory>

namespace planio {

TPrintFormatForm &threadLayoutForm(const planfile::PlanLayout &layout)
{
    thread_local std::map<const planfile::PlanLayout *, std::unique_ptr<TPrintFormatForm>> forms;
    auto &form = forms[&layout];
    if (!form) {
        form = std::make_unique<TPrintFormatForm>(layout);
    }
    return *form;
}

} // namespace planio
