#include "planio/ReadBackCheck.h"

#include "pdfreader/Page.h"
#include "plan/Cp932.h"
#include "planfile/PlanFieldTable.h"
#include "planio/PlanSave.h"

#include <algorithm>

#include <exception>

namespace planio {

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
    const planfile::PlanField &place = planfile::kPlanFields[static_cast<std::size_t>(field)];
    Difference d;
    d.fieldIndex = field;
    d.fieldName = place.item;
    d.page = item ? item->page : place.page;
    d.x = item ? item->x : place.x;
    d.y = item ? item->y : place.y;
    return d;
}

Difference placeDifference(const planfile::TextItem &item)
{
    Difference d;
    d.page = item.page;
    d.x = item.x;
    d.y = item.y;
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
    // Each field's item, where the open command looks for it, with its text.
    for (int field = 0; field < planfile::kFieldCount; ++field) {
        const planfile::TextItem *inFile = fieldItem(fileItems, field);
        if (!sameItem(inFile, fieldItem(written, field)))
            return differenceAt(field, inFile);
    }
    // And the same text objects at the same places: a damaged Td can move a
    // field's text away from its field, which then reads as empty. The text
    // of items that hold no field is not compared: the name repeated on
    // page 2 in a box of its own width may keep more of a long name than
    // the name field does.
    for (std::size_t i = 0; i < std::max(fileItems.size(), written.size()); ++i) {
        const planfile::TextItem &item = i < fileItems.size() ? fileItems[i] : written[i];
        if (i >= fileItems.size() || i >= written.size() || item.page != written[i].page || item.x != written[i].x ||
            item.y != written[i].y)
            return placeDifference(item);
    }
    return std::nullopt;
}

const std::string &damagedPlanMessage()
{
    static const std::string message = cp932::fromUtf8(
        "この計画書ファイルは一部が読み取れない可能性があります。\n印刷された計画書と照らし合わせてください。");
    return message;
}

} // namespace planio
