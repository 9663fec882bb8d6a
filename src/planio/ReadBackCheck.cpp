#include "planio/ReadBackCheck.h"

#include "plan/Common.h"
#include "plan/Cp932.h"
#include "planfile/PlanCheck.h"
#include "planfile/PlanFieldValue.h"
#include "planio/LayoutForm.h"
#include "report/PrintFormatUnit.h"

#include <cmath>
#include <exception>
#include <string_view>

namespace planio {

namespace {

using Lines = std::vector<std::string>;

// The line without the blanks and control bytes that end it, which print
// nothing (a print trims them off the end of a text).
std::string_view shownPart(std::string_view line)
{
    while (!line.empty() && static_cast<unsigned char>(line.back()) <= ' ') {
        line.remove_suffix(1);
    }
    return line;
}

// How many lines show something up to the last one that does.
std::size_t shownLines(const Lines &lines)
{
    std::size_t count = lines.size();
    while (count > 0 && shownPart(lines[count - 1]).empty()) {
        --count;
    }
    return count;
}

bool sameAsPrinted(const Lines &file, const Lines &laidOut)
{
    // The reader gives an object no line at all only when its text broke
    // off before the first one; the layout never prints such an object.
    if (file.empty()) {
        return false;
    }
    const std::size_t count = shownLines(file);
    if (count != shownLines(laidOut)) {
        return false;
    }
    for (std::size_t i = 0; i + 1 < count; ++i) {
        if (file[i] != laidOut[i]) {
            return false;
        }
    }
    return count == 0 || shownPart(file[count - 1]) == shownPart(laidOut[count - 1]);
}

// The writer rounds a point to hundredths; the reader keeps four decimals.
bool samePlace(const TTextItem &file, const TPRTextObject &laidOut)
{
    const auto near = [](TPdfCurrency read, float written) {
        const double exact = static_cast<double>(written) * CurrencyScale;
        return std::fabs(static_cast<double>(read) - exact) <= CurrencyScale / 200.0 + 1;
    };
    return file.page == laidOut.Page && near(file.x, laidOut.X) && near(file.y, laidOut.Y);
}

// Index of the first text object where the file and the layout part, or
// nothing when they hold the same objects.
std::optional<std::size_t> firstDifference(const std::vector<TTextItem> &file,
                                           const std::vector<TPRTextObject> &laidOut)
{
    for (std::size_t i = 0; i < file.size() || i < laidOut.size(); ++i) {
        if (i >= file.size() || i >= laidOut.size() || !samePlace(file[i], laidOut[i]) ||
            !sameAsPrinted(file[i].lines, laidOut[i].Lines)) {
            return i;
        }
    }
    return std::nullopt;
}

const planfile::PlanField *fieldOfItem(const planfile::PlanLayout &layout, std::string_view item)
{
    for (const planfile::PlanField &field : layout.fields) {
        if (item == field.item) {
            return &field;
        }
    }
    return nullptr;
}

Difference differenceAt(const planfile::PlanLayout &layout, std::size_t i, const std::vector<TTextItem> &file,
                        const std::vector<TPRTextObject> &laidOut)
{
    Difference d;
    if (i < file.size()) {
        d.page = file[i].page;
        d.x = file[i].x / CurrencyScale;
        d.y = file[i].y / CurrencyScale;
    } else {
        d.page = laidOut[i].Page;
        d.x = static_cast<std::int64_t>(laidOut[i].X);
        d.y = static_cast<std::int64_t>(laidOut[i].Y);
    }
    if (i < laidOut.size() && laidOut[i].Item != nullptr) {
        d.itemName = laidOut[i].Item->Name();
        if (const planfile::PlanField *field = fieldOfItem(layout, d.itemName)) {
            d.fieldIndex = field->index;
        }
    }
    return d;
}

// True when a CP932 text holds a byte sequence that is no character: the
// editor would show it as a replacement character, which a save refuses.
bool hasBrokenCharacter(std::string_view text)
{
    bool singleByte = true;
    for (char c : text) {
        singleByte = singleByte && static_cast<unsigned char>(c) < 0x80;
    }
    return !singleByte && cp932::toUtf16(text).find(u'\uFFFD') != std::u16string::npos;
}

// The plan read back as a save would take it from the editor.
planfile::PlanEntry entryOf(const planfile::PlanLayout &layout, const planfile::PrintedPlan &printed)
{
    planfile::PlanEntry entry;
    entry.Plan = printed.Plan;
    entry.BirthText = printed.BirthText;
    entry.HDSText = printed.HDSText;
    for (const planfile::PlanField *field : planfile::checkedFields(layout)) {
        const std::string_view text = field->kind == planfile::FieldKind::Number ? std::string_view(printed.HDSText)
                                      : field->kind == planfile::FieldKind::Date
                                          ? std::string_view()
                                          : planfile::fieldText(printed.Plan, *field);
        if (hasBrokenCharacter(text)) {
            entry.Unrepresentable = field;
            break;
        }
    }
    return entry;
}

// The field a save would refuse in the plan read back, if any.
std::optional<Difference> checkedAsSaved(const planfile::PlanLayout &layout, const planfile::PrintedPlan &printed)
{
    const auto fault = planfile::CheckPlan(entryOf(layout, printed), nullptr, layout);
    if (!fault) {
        return std::nullopt;
    }
    Difference d;
    d.page = fault->where->page;
    d.x = fault->where->x;
    d.y = fault->where->y;
    d.fieldIndex = fault->where->index;
    d.itemName = fault->where->item;
    return d;
}

// A memo whose box wraps its lines is read back with a line break where the
// wrap broke it, and the wrap measures a word together with the line break
// that ends it, so the text read back, wrapped again, may break at other
// places (a line that fills its box, followed by a line break, gets a blank
// line after it). While an object of this class lives, those boxes break
// their text only at its line breaks: a memo as printed then lays out as
// the very lines the file holds, each of which must still fit its box.
class UnwrappedMemos {
public:
    explicit UnwrappedMemos(TPrintFormatForm &form)
    {
        for (const planfile::PlanField &field : form.Layout().fields) {
            TPRText *text = field.kind == planfile::FieldKind::Memo ? form.FindText(field.item) : nullptr;
            if (text != nullptr && text->WordWrap) {
                text->WordWrap = false;
                m_wrapped.push_back(text);
            }
        }
    }
    ~UnwrappedMemos()
    {
        for (TPRText *text : m_wrapped) {
            text->WordWrap = true;
        }
    }
    UnwrappedMemos(const UnwrappedMemos &) = delete;
    UnwrappedMemos &operator=(const UnwrappedMemos &) = delete;

private:
    std::vector<TPRText *> m_wrapped;
};

// The first page whose text objects, laid out, are not as many as the text
// colour selections the file holds on it: a text object taken out whole (a
// cell emptied by deleting its text leaves its colour selection behind).
std::optional<Difference> missingObject(const std::vector<TPRTextObject> &laidOut,
                                        const std::vector<std::int32_t> &fillColours)
{
    std::vector<std::int32_t> printed(fillColours.size());
    for (const TPRTextObject &object : laidOut) {
        const auto page = static_cast<std::size_t>(object.Page);
        if (page > printed.size()) {
            printed.resize(page);
        }
        ++printed[page - 1];
    }
    for (std::size_t page = 0; page < printed.size(); ++page) {
        const std::int32_t inFile = page < fillColours.size() ? fillColours[page] : 0;
        if (printed[page] != inFile) {
            Difference d;
            d.page = static_cast<int>(page + 1);
            return d;
        }
    }
    return std::nullopt;
}

// The age printed must be the one the two dates printed give: the editor
// works it out from them at every save, so a birth date or plan date
// changed in the file shows against it.
std::optional<Difference> ageDisagrees(const planfile::PlanLayout &layout, const planfile::PrintedPlan &printed)
{
    const planfile::PlanField *age = layout.field("Age");
    if (age == nullptr || !printed.HasPlanDate || !printed.HasBirthDate || !printed.HasAge ||
        printed.Plan.Age == AgeInYears(printed.Plan.BirthDate, printed.Plan.PlanDate)) {
        return std::nullopt;
    }
    Difference d;
    d.page = age->page;
    d.x = age->x;
    d.y = age->y;
    d.fieldIndex = age->index;
    d.itemName = age->item;
    return d;
}

// Where the file's text objects and those of the plan read from it, laid
// out again, first part; nothing when they agree.
std::optional<Difference> laidOutDifference(const planfile::PlanLayout &layout, const PlanFileRead &read)
{
    TPrintFormatForm &form = threadLayoutForm(layout);
    const UnwrappedMemos unwrapped(form);
    form.PlanData = read.printed.Plan;
    const std::vector<TPRTextObject> &laidOut = form.RecordPages();
    const std::optional<std::size_t> first = firstDifference(read.items, laidOut);
    if (!first) {
        return missingObject(laidOut, read.fillColours);
    }
    const Difference found = differenceAt(layout, *first, read.items, laidOut);
    if (found.itemName != TPrintFormatForm::kPageTwoName || *first >= read.items.size() ||
        !samePlace(read.items[*first], laidOut[*first])) {
        return found;
    }
    // The page-2 header's box is wider than the name field's and may show
    // more of a long name: lay the plan out again with the name as the
    // header shows it, which both boxes must then show as the file does.
    const Lines &shown = read.items[*first].lines;
    std::string name;
    for (std::size_t i = 0; i < shown.size(); ++i) {
        name += (i > 0 ? "\r\n" : "") + shown[i];
    }
    if (const planfile::PlanField *nameField = layout.field("Name")) {
        planfile::setFieldText(form.PlanData, *nameField, name);
    }
    const std::vector<TPRTextObject> &again = form.RecordPages();
    if (firstDifference(read.items, again)) {
        return found;
    }
    return missingObject(again, read.fillColours);
}

} // namespace

std::optional<Difference> findDifference(const PlanFileRead &read)
{
    // A plan is compared with the layout that wrote it.
    const planfile::PlanLayout &layout = read.layout != nullptr ? *read.layout : planfile::currentLayout();
    try {
        if (auto found = laidOutDifference(layout, read)) {
            return found;
        }
    } catch (const std::exception &) {
        // A plan that cannot even be laid out again is no sound plan.
        return Difference{};
    }
    if (auto found = ageDisagrees(layout, read.printed)) {
        return found;
    }
    return checkedAsSaved(layout, read.printed);
}

const std::string &damagedPlanMessage()
{
    static const std::string message = cp932::fromUtf8(
        "この計画書ファイルは一部が読み取れない可能性があります。\n印刷された計画書と照らし合わせてください。");
    return message;
}

} // namespace planio
