#pragma once

// Reading one plan file as the editor's open command does: the reader
// parses the whole file once, the two document-information markers must be
// there, every page is selected (a damaged page image refuses the file),
// and the printed text is decoded once into a plan; the read-back check
// (ReadBackCheck.h) takes both as they are. Nothing is shared between
// reads, so several files may be read at once on different threads.

#include "pdfreader/PdfString.h"
#include "planfile/PlanDecode.h"

#include <filesystem>
#include <map>
#include <span>
#include <stdexcept>
#include <string>
#include <string_view>
#include <variant>
#include <vector>

namespace planio {

// A plan file as read: the layout that wrote it, the plan, the two markers
// as found (trimmed), the Creator text and every text item, which the
// read-back check compares.
struct PlanFileRead {
    const planfile::PlanLayout *layout = nullptr;
    planfile::PrintedPlan printed;
    std::string author;
    std::string subject;
    std::string creator;
    std::vector<TTextItem> items;
    // How many text items the file holds; more than `items` when only some
    // were kept.
    std::size_t itemsSeen = 0;
    // The fill colour selections of each page (index 0 is page 1): our
    // writer selects the text colour once before every text object it
    // prints, so a text object taken out of a file leaves its selection.
    std::vector<std::int32_t> fillColours;
};

// Why a file was refused: the reader's message (CP932) and, when the
// message names the file, that name as UTF-8. A readable
// PDF without the plan markers gives the not-a-plan message, `notAPlan`
// set and the markers it holds. A read that ran out of memory says so with
// pdfreader::kOutOfMemoryMessage and `outOfMemory` set: the file itself
// may be sound. A plan of a layout this build does not know gives
// planfile::kNewerLayoutMessage with `newerLayout` set: it is no damage.
struct ReadFault {
    std::string text;
    std::string fileName;
    bool notAPlan = false;
    std::string author;
    std::string subject;
    bool outOfMemory = false;
    bool newerLayout = false;
};

// A PDF the reader takes but without the two plan markers. what() is the
// not-a-plan message (CP932); `author` and `subject` are the markers found.
class NotAPlanFile : public std::runtime_error {
public:
    NotAPlanFile(std::string author, std::string subject);
    std::string author;
    std::string subject;
};

// A plan file whose Keywords name a layout this build does not know (one a
// newer build wrote). what() is planfile::kNewerLayoutMessage (CP932).
class NewerLayoutFile : public std::runtime_error {
public:
    NewerLayoutFile();
};

// Raises the reader's EPdfReadError for a file it refuses or when memory
// runs out, NotAPlanFile for a PDF without the markers and NewerLayoutFile
// for a plan of a layout not in `layouts`.
PlanFileRead loadPlanFile(const std::filesystem::path &path,
                          const planfile::LayoutCatalog &layouts = planfile::builtInLayouts());
// The same over a file's bytes in memory.
PlanFileRead loadPlanBytes(std::string bytes, const planfile::LayoutCatalog &layouts = planfile::builtInLayouts());

// The same, never raising: every failure is a ReadFault.
std::variant<PlanFileRead, ReadFault> readPlanFile(const std::filesystem::path &path);

// Some fields of a plan by their record members ("Name", "Team[1]"), and
// what reading a file for them alone needs: the windows of the reader's
// 5-unit rule around each field's point in every layout of `layouts`, and
// each layout's indices of them. Fields a layout lacks have none in it.
class PlanFields {
public:
    explicit PlanFields(std::span<const std::string_view> keys,
                        const planfile::LayoutCatalog &layouts = planfile::builtInLayouts());
    const std::vector<TTextWindow> &windows() const { return m_windows; }
    // The indices of the fields in `layout`; none for a layout not given.
    std::span<const int> indices(const planfile::PlanLayout &layout) const;

private:
    std::vector<TTextWindow> m_windows;
    std::map<const planfile::PlanLayout *, std::vector<int>> m_indices;
};

// readPlanFile for a caller that needs only some fields: only the text items
// in their windows are kept and only these fields are decoded, as
// readPlanFile decodes them; every other field keeps the record's empty
// value, and the read-back check cannot be made. The file is read and
// refused exactly as readPlanFile reads and refuses it.
std::variant<PlanFileRead, ReadFault> readPlanFile(const std::filesystem::path &path, const PlanFields &fields);

} // namespace planio
