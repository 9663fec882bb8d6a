#include "planio/PlanRead.h"

#include "pdfreader/PdfReadError.h"
#include "pdfreader/PdfStream.h"
#include "planfile/PlanFormat.h"
#include "planio/PlanItems.h"

#include <exception>
#include <new>

namespace planio {

NotAPlanFile::NotAPlanFile(std::string author, std::string subject)
    : std::runtime_error(std::string(planfile::kNotAPlanMessage)), author(std::move(author)), subject(std::move(subject))
{
}

NewerLayoutFile::NewerLayoutFile() : std::runtime_error(std::string(planfile::kNewerLayoutMessage)) {}

namespace {

// The file the facade has just opened, read as a plan: the bytes were
// parsed once, and the plan is decoded once from the items they hold, in
// the layout the file names.
PlanFileRead readOpened(pdfreader::TPdfStream &pdf, const planfile::LayoutCatalog &layouts)
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
    // the file.
    for (int page = 0; page < pdf.pageCount(); ++page) {
        pdf.selectPage(page);
    }
    read.items = pdf.takeTextItems();
    read.printed = decodeItems(read.items, *read.layout);
    read.creator = pdf.creator();
    return read;
}

} // namespace

PlanFileRead loadPlanFile(const std::filesystem::path &path, const planfile::LayoutCatalog &layouts)
{
    try {
        pdfreader::TPdfStream pdf;
        pdf.open(path);
        return readOpened(pdf, layouts);
    } catch (const std::bad_alloc &) {
        throw EPdfReadError(pdfreader::kOutOfMemoryMessage);
    }
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
    try {
        return loadPlanFile(path);
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

} // namespace planio
