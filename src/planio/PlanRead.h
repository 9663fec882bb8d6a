#pragma once

// Reading one plan file as the editor's open command does: the reader
// parses the whole file once, the two document-information markers must be
// there, every page is selected (a damaged page image refuses the file),
// and the printed text is decoded once into a plan; the read-back check
// (ReadBackCheck.h) takes both as they are. Nothing is shared between
// reads, so several files may be read at once on different threads.

#include "pdfreader/PdfString.h"
#include "planfile/PlanDecode.h"

#include <stdexcept>
#include <string>
#include <variant>
#include <vector>

namespace planio {

// A plan file as read: the plan, the two markers as found (trimmed), the
// Creator text and every text item, which the read-back check compares.
struct PlanFileRead {
    planfile::PrintedPlan printed;
    std::string author;
    std::string subject;
    std::string creator;
    std::vector<TTextItem> items;
};

// Why a file was refused: the reader's message (CP932) and, when the
// message names the file, that name as the platform spells it. A readable
// PDF without the plan markers gives the not-a-plan message, `notAPlan`
// set and the markers it holds.
struct ReadFault {
    std::string text;
    std::string fileName;
    bool notAPlan = false;
    std::string author;
    std::string subject;
};

// A PDF the reader takes but without the two plan markers. what() is the
// not-a-plan message (CP932); `author` and `subject` are the markers found.
class NotAPlanFile : public std::runtime_error {
public:
    NotAPlanFile(std::string author, std::string subject);
    std::string author;
    std::string subject;
};

// `path` is a native path. Raises the reader's EPdfReadError for a file it
// refuses and NotAPlanFile for a PDF without the markers.
PlanFileRead loadPlanFile(const std::string &path);
// The same over a file's bytes in memory.
PlanFileRead loadPlanBytes(std::string bytes);

// The same, never raising: every failure is a ReadFault.
std::variant<PlanFileRead, ReadFault> readPlanFile(const std::string &path);

} // namespace planio
