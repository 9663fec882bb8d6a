#include "planio/ReadBackCheck.h"

#include "pdfreader/Page.h"
#include "plan/Cp932.h"
#include "planfile/PlanFieldTable.h"
#include "planio/PlanItems.h"
#include "planio/PlanSave.h"

#include <algorithm>

#include <exception>

namespace planio {

namespace {

bool samePlace(const TTextItem &a, const TTextItem &b)
{
    return a.page == b.page && a.x / CurrencyScale == b.x / CurrencyScale && a.y / CurrencyScale == b.y / CurrencyScale;
}

bool sameItem(const TTextItem *a, const TTextItem *b)
{
    if (a == nullptr || b == nullptr)
        return a == b;
    return samePlace(*a, *b) && a->lines == b->lines;
}

Difference differenceAt(int field, const TTextItem *item)
{
    const planfile::PlanField &place = planfile::kPlanFields[static_cast<std::size_t>(field)];
    Difference d;
    d.fieldIndex = field;
    d.fieldName = place.item;
    d.page = item ? item->page : place.page;
    d.x = item ? item->x / CurrencyScale : place.x;
    d.y = item ? item->y / CurrencyScale : place.y;
    return d;
}

Difference placeDifference(const TTextItem &item)
{
    Difference d;
    d.page = item.page;
    d.x = item.x / CurrencyScale;
    d.y = item.y / CurrencyScale;
    return d;
}

} // namespace

std::optional<Difference> findDifference(const std::vector<TTextItem> &fileItems, const std::string &creator)
{
    const planfile::PrintedPlan printed = decodeItems(fileItems);
    std::vector<TTextItem> written;
    try {
        // The time is printed nowhere on the pages; any will do.
        const std::string bytes = MakePlanPdf(printed.Plan, creator, TDateTime(0.0));
        written = TPdfPage::fromBytes(bytes)->takeStrings();
    } catch (const std::exception &) {
        // A plan that cannot even be written again is no sound plan.
        return Difference{};
    }
    // Each field's item, where the open command looks for it, with its text.
    const ItemsByField inFile = itemsByField(fileItems);
    const ItemsByField inWritten = itemsByField(written);
    for (int field = 0; field < planfile::kFieldCount; ++field) {
        const auto at = static_cast<std::size_t>(field);
        if (!sameItem(inFile[at], inWritten[at]))
            return differenceAt(field, inFile[at]);
    }
    // And the same text objects at the same places: a damaged Td can move a
    // field's text away from its field, which then reads as empty. The text
    // of items that hold no field is not compared: the name repeated on
    // page 2 in a box of its own width may keep more of a long name than
    // the name field does.
    for (std::size_t i = 0; i < std::max(fileItems.size(), written.size()); ++i) {
        const TTextItem &item = i < fileItems.size() ? fileItems[i] : written[i];
        if (i >= fileItems.size() || i >= written.size() || !samePlace(item, written[i]))
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
