#pragma once

#include "pdfreader/Page.h"
#include "PdfBuilder.h"

#include <functional>
#include <string>

namespace pdftest {

// The reader's message for a file, or "(no error)".
inline std::string readError(const std::string &bytes)
{
    try {
        TPdfPage::fromBytes(bytes);
    } catch (const EPdfReadError &e) {
        return e.what();
    }
    return "(no error)";
}

inline std::string hex8(std::size_t position) { return pdfreader::hexPosition(static_cast<std::int64_t>(position)); }

} // namespace pdftest
