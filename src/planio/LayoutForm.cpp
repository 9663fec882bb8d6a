#include "planio/LayoutForm.h"

#include "report/PrintFormatUnit.h"

namespace planio {

TPrintFormatForm &threadLayoutForm()
{
    thread_local TPrintFormatForm form;
    return form;
}

} // namespace planio
