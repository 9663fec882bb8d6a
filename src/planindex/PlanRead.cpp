#include "planindex/PlanRead.h"

#include "pdfreader/PdfReadError.h"
#include "pdfreader/PdfStream.h"
#include "planfile/PlanFormat.h"

#include <exception>

namespace planindex {

std::variant<planfile::PrintedPlan, ReadFault> readPlanFile(const std::string &path)
{
    try {
        pdfreader::TPdfStream pdf;
        pdf.open(path);
        if (!planfile::isPlanFile(pdf.author(), pdf.subject())) {
            return ReadFault{std::string(planfile::kNotAPlanMessage), {}};
        }
        for (int page = 0; page < pdf.pageCount(); ++page) {
            pdf.selectPage(page);
        }
        return planfile::decodePlan(pdf.textItems());
    } catch (const EPdfReadError &e) {
        return ReadFault{e.text(), e.fileName()};
    } catch (const std::exception &e) {
        // Running out of memory and the like: the file is listed as unread.
        return ReadFault{e.what(), {}};
    }
}

} // namespace planindex
