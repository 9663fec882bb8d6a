#include "integrity/PlanIntegrity.h"

#include "pdfreader/Page.h"
#include "plan/Cp932.h"
#include "planfile/PlanFieldTable.h"
#include "report/PlanPdf.h"

#include <algorithm>
#include <exception>

namespace planintegrity {

namespace {

Difference differenceAt(const planfile::TextItem &item)
{
    Difference d;
    d.page = item.page;
    d.x = item.x;
    d.y = item.y;
    for (int field = 0; field < planlayout::kFieldCount; ++field) {
        if (planfile::liesAtField(field, item.page, item.x, item.y)) {
            d.fieldIndex = field;
            d.fieldName = planlayout::kFieldPositions[static_cast<std::size_t>(field)].itemName;
            break;
        }
    }
    return d;
}

bool sameItem(const planfile::TextItem &a, const planfile::TextItem &b)
{
    return a.page == b.page && a.x == b.x && a.y == b.y && a.lines == b.lines;
}

} // namespace

std::optional<Difference> findDifference(const std::vector<planfile::TextItem> &fileItems,
                                         const std::string &creator)
{
    const planfile::PrintedPlan printed = planfile::decodePlan(fileItems);
    std::vector<planfile::TextItem> written;
    try {
        // The time is printed nowhere on the pages; any will do.
        const std::string bytes = MakePlanPdf(printed.Plan, creator, TDateTime(0.0));
        written = TPdfPage::fromBytes(bytes)->strings().plainItems();
    } catch (const std::exception &) {
        // A plan that cannot even be written again is no sound plan.
        Difference d;
        if (!fileItems.empty())
            d = differenceAt(fileItems.front());
        return d;
    }
    const std::size_t common = std::min(fileItems.size(), written.size());
    for (std::size_t i = 0; i < common; ++i) {
        if (!sameItem(fileItems[i], written[i]))
            return differenceAt(fileItems[i]);
    }
    if (fileItems.size() > common)
        return differenceAt(fileItems[common]);
    if (written.size() > common)
        return differenceAt(written[common]);
    return std::nullopt;
}

const std::string &damagedPlanMessage()
{
    static const std::string message = cp932::fromUtf8(
        "この計画書ファイルは一部が読み取れない可能性があります。\n印刷された計画書と照らし合わせてください。");
    return message;
}

} // namespace planintegrity
