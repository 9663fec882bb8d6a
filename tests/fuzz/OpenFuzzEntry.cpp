#include "FuzzEntry.h"

#include "pdfreader/PdfStream.h"
#include "planfile/PlanFormat.h"
#include "planio/PlanItems.h"
#include "planio/ReadBackCheck.h"

#include <string>

int openPathFuzzOne(const std::uint8_t *data, std::size_t size)
{
    pdfreader::TPdfStream pdf;
    try {
        pdf.openBytes(std::string(reinterpret_cast<const char *>(data), size));
    } catch (const EPdfReadError &) {
        return 0;
    }
    std::size_t total = 0;
    for (int page = 0; page < pdf.pageCount(); ++page) {
        try {
            pdf.selectPage(page);
            total += pdf.image()->pixels().size();
        } catch (const EPdfReadError &) {
            ++total;
        }
    }
    if (planfile::isPlanFile(pdf.author(), pdf.subject())) {
        planio::PlanFileRead read;
        read.items = pdf.takeTextItems();
        read.printed = planio::decodeItems(read.items);
        const auto difference = planio::findDifference(read);
        total += difference ? difference->itemName.size() : 0;
    }
    return total == static_cast<std::size_t>(-1) ? 1 : 0;
}
