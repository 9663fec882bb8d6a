#include "integrity/PlanIntegrity.h"

#include "pdfreader/Page.h"
#include "plan/Cp932.h"
#include "planfile/PlanFieldTable.h"
#include "report/PlanPdf.h"

#include <exception>

namespace planintegrity {

namespace {

// The item holding field `field` in a list, as the open command finds it.
const planfile::TextItem *fieldItem(const std::vector<planfile::TextItem> &items, int field)
{
    const auto index = planfile::findFieldItem(field, items.size(), [&items](std::size_t i) {
        return planfile::ItemPlace{items[i].page, items[i].x, items[i].y};
    });
    return index ? &items[*index] : nullptr;
}

bool sameItem(const planfile::TextItem *a, const planfile::TextItem *b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    return a->page == b->page && a->x == b->x && a->y == b->y && a->lines == b->lines;
}

Difference differenceAt(int field, const planfile::TextItem *item)
{
    const planlayout::FieldPosition &place = planlayout::kFieldPositions[static_cast<std::size_t>(field)];
    Difference d;
    d.fieldIndex = field;
    d.fieldName = place.itemName;
    d.page = item ? item->page : place.page;
    d.x = item ? item->x : place.x;
    d.y = item ? item->y : place.y;
    return d;
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
        return Difference{};
    }
    // Each field's item, where the open command looks for it. Items that
    // hold no field (the form's labels, the name repeated on page 2 in a
    // box of its own width) carry nothing the plan keeps.
    for (int field = 0; field < planlayout::kFieldCount; ++field) {
        const planfile::TextItem *inFile = fieldItem(fileItems, field);
        if (!sameItem(inFile, fieldItem(written, field)))
            return differenceAt(field, inFile);
    }
    return std::nullopt;
}

const std::string &damagedPlanMessage()
{
    static const std::string message = cp932::fromUtf8(
        "この計画書ファイルは一部が読み取れない可能性があります。\n印刷された計画書と照らし合わせてください。");
    return message;
}

} // namespace planintegrity
