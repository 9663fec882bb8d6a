#include "planindex/PlanRead.h"

#include "pdfreader/PdfReadError.h"
#include "pdfreader/PdfStream.h"
#include "planfile/PlanFormat.h"

#include <exception>

namespace planindex {

std::variant<PlanFileRead, ReadFault> readPlanFile(const std::string &path)
{
    try {
        pdfreader::TPdfStream pdf;
        pdf.open(path);
        const std::string author(planfile::trimmedInfo(pdf.author()));
        const std::string subject(planfile::trimmedInfo(pdf.subject()));
        if (!planfile::isPlanFile(author, subject)) {
            return ReadFault{std::string(planfile::kNotAPlanMessage), {}, true, author, subject};
        }
        // Selecting each page checks its picture, if any: a damaged one
        // refuses the file.
        for (int page = 0; page < pdf.pageCount(); ++page) {
            pdf.selectPage(page);
        }
        PlanFileRead read;
        read.items = pdf.textItems();
        read.printed = planfile::decodePlan(read.items);
        read.author = author;
        read.subject = subject;
        read.creator = pdf.creator();
        return read;
    } catch (const EPdfReadError &e) {
        return ReadFault{e.text(), e.fileName(), false, {}, {}};
    } catch (const std::exception &e) {
        // Running out of memory and the like: the file is listed as unread.
        return ReadFault{e.what(), {}, false, {}, {}};
    }
}

} // namespace planindex
