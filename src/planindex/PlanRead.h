#pragma once

// Reading one plan file as the editor's open command does: the reader
// parses the whole file, the two document-information markers must be
// there, every page is selected (a damaged page image refuses the file),
// and the printed text is read back into a plan. Nothing else is shared, so
// several files may be read at once on different threads.

#include "planfile/PlanDecode.h"

#include <string>
#include <variant>

namespace planindex {

// Why a file was refused: the reader's message (CP932) and, when the
// message names the file, that name as the platform spells it.
struct ReadFault {
    std::string text;
    std::string fileName;
};

// `path` is a native path. Never raises: every failure is a ReadFault, the
// not-a-plan message for a PDF without the markers.
std::variant<planfile::PrintedPlan, ReadFault> readPlanFile(const std::string &path);

} // namespace planindex
