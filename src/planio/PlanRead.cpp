#include "planio/PlanRead.h"

#include "pdfreader/PdfReadError.h"
#include "pdfreader/PdfStream.h"
#include "planfile/PlanFormat.h"
#include "planio/PlanItems.h"

#include <array>
#include <exception>
#include <new>
#include <optional>
#include <string_view>

namespace planio {

NotAPlanFile::NotAPlanFile(std::string author, std::string subject)
    : std::runtime_error(std::string(planfile::kNotAPlanMessage)), author(std::move(author)), subject(std::move(subject))
{
}

NewerLayoutFile::NewerLayoutFile() : std::runtime_error(std::string(planfile::kNewerLayoutMessage)) {}

namespace {

// The numbers of a box array as written ("[0 0 596 842 ]"); nothing when it
// is not an array of four plain numbers.
std::optional<std::array<std::string, 4>> boxNumbers(std::string_view box)
{
    const auto blank = [](char c) { return c == ' ' || c == '\r' || c == '\n' || c == '\t'; };
    while (!box.empty() && blank(box.front())) {
        box.remove_prefix(1);
    }
    while (!box.empty() && blank(box.back())) {
        box.remove_suffix(1);
    }
    if (box.size() < 2 || box.front() != '[' || box.back() != ']') {
        return std::nullopt;
    }
    std::array<std::string, 4> numbers;
    std::size_t count = 0;
    std::string current;
    for (const char c : box.substr(1, box.size() - 2)) {
        if (c == ' ' || c == '\r' || c == '\n' || c == '\t') {
            if (!current.empty()) {
                if (count == numbers.size()) {
                    return std::nullopt;
                }
                numbers[count++] = std::move(current);
                current.clear();
            }
        } else {
            current += c;
        }
    }
    if (!current.empty()) {
        if (count == numbers.size()) {
            return std::nullopt;
        }
        numbers[count++] = std::move(current);
    }
    if (count != numbers.size()) {
        return std::nullopt;
    }
    return numbers;
}

// A page as our writer makes every page of a plan: its own MediaBox of the
// writer's A4 page in whole points (596 x 842 from the origin), no CropBox
// that could hide part of it, no UserUnit that would scale it.
bool isPlanPage(const TPageRecord &page)
{
    static const std::array<std::string, 4> kPlanBox = {"0", "0", "596", "842"};
    const auto media = boxNumbers(page.mediaBox);
    if (!media || *media != kPlanBox) {
        return false;
    }
    if (!page.cropBox.empty() && boxNumbers(page.cropBox) != kPlanBox) {
        return false;
    }
    return page.userUnit.empty() || page.userUnit == "1";
}

// The file the facade has just opened, read as a plan: the bytes were
// parsed once, and the plan is decoded once from the items they hold, in
// the layout the file names.
PlanFileRead readOpened(pdfreader::TPdfStream &pdf, const planfile::LayoutCatalog &layouts,
                        const PlanFields *fields = nullptr)
{
    PlanFileRead read;
    read.author = planfile::trimmedInfo(pdf.author());
    read.subject = planfile::trimmedInfo(pdf.subject());
    if (!planfile::isPlanFile(read.author, read.subject)) {
        throw NotAPlanFile(read.author, read.subject);
    }
    read.layout = layouts.find(planfile::markedLayout(pdf.keywords()));
    if (read.layout == nullptr) {
        throw NewerLayoutFile();
    }
    // Selecting each page checks its picture, if any: a damaged one refuses
    // the file. A page of another size than the plan's shows its text
    // elsewhere than the plan, or not at all (a 1 x 1 page): no plan.
    for (int page = 0; page < pdf.pageCount(); ++page) {
        if (!isPlanPage(pdf.pageRecord(page))) {
            throw EPdfReadError("PDF PAGE SIZE ERROR");
        }
        pdf.selectPage(page);
    }
    read.itemsSeen = pdf.textItemsSeen();
    read.items = pdf.takeTextItems();
    read.fillColours = pdf.fillColours();
    read.printed = fields != nullptr
                       ? decodeItems(read.items, read.itemsSeen, *read.layout, fields->indices(*read.layout))
                       : decodeItems(read.items, *read.layout);
    read.creator = pdf.creator();
    return read;
}

// loadPlanFile, for some fields only when they are given.
PlanFileRead loadFile(const std::filesystem::path &path, const planfile::LayoutCatalog &layouts,
                      const PlanFields *fields)
{
    try {
        pdfreader::TPdfStream pdf;
        if (fields != nullptr) {
            pdf.open(path, fields->windows());
        } else {
            pdf.open(path);
        }
        return readOpened(pdf, layouts, fields);
    } catch (const std::bad_alloc &) {
        throw EPdfReadError(pdfreader::kOutOfMemoryMessage);
    }
}

std::variant<PlanFileRead, ReadFault> readFile(const std::filesystem::path &path, const PlanFields *fields)
{
    try {
        return loadFile(path, planfile::builtInLayouts(), fields);
    } catch (const NotAPlanFile &e) {
        return ReadFault{e.what(), {}, true, e.author, e.subject};
    } catch (const NewerLayoutFile &e) {
        return ReadFault{e.what(), {}, false, {}, {}, false, true};
    } catch (const EPdfReadError &e) {
        return ReadFault{e.text(), e.fileName(), false, {}, {}, e.message() == pdfreader::kOutOfMemoryMessage};
    } catch (const std::exception &e) {
        // Anything else that stops the reading: the file is listed as unread.
        return ReadFault{e.what(), {}, false, {}, {}};
    }
}

} // namespace

PlanFileRead loadPlanFile(const std::filesystem::path &path, const planfile::LayoutCatalog &layouts)
{
    return loadFile(path, layouts, nullptr);
}

PlanFileRead loadPlanBytes(std::string bytes, const planfile::LayoutCatalog &layouts)
{
    try {
        pdfreader::TPdfStream pdf;
        pdf.openBytes(std::move(bytes));
        return readOpened(pdf, layouts);
    } catch (const std::bad_alloc &) {
        throw EPdfReadError(pdfreader::kOutOfMemoryMessage);
    }
}

std::variant<PlanFileRead, ReadFault> readPlanFile(const std::filesystem::path &path)
{
    return readFile(path, nullptr);
}

std::variant<PlanFileRead, ReadFault> readPlanFile(const std::filesystem::path &path, const PlanFields &fields)
{
    return readFile(path, &fields);
}

PlanFields::PlanFields(std::span<const std::string_view> keys, const planfile::LayoutCatalog &layouts)
{
    constexpr int tolerance = planfile::kFieldTolerance;
    for (int version = 1; const planfile::PlanLayout *layout = layouts.find(version); ++version) {
        std::vector<int> &indices = m_indices[layout];
        for (const std::string_view key : keys) {
            if (const planfile::PlanField *field = layout->field(key)) {
                indices.push_back(field->index);
                m_windows.push_back({field->page, field->x - tolerance, field->y - tolerance, field->x + tolerance,
                                     field->y + tolerance});
            }
        }
    }
}

std::span<const int> PlanFields::indices(const planfile::PlanLayout &layout) const
{
    const auto found = m_indices.find(&layout);
    return found != m_indices.end() ? std::span<const int>(found->second) : std::span<const int>();
}

} // namespace planio
