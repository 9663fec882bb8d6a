#pragma once

// Helpers shared by the writer tests.

#include "pdfwriter/PdfDoc.h"

#include <functional>
#include <string>

template <class E>
std::string messageOf(const std::function<void()> &f)
{
    try {
        f();
    } catch (const E &e) {
        return e.what();
    }
    return "<no exception>";
}

// 2024-01-31 14:30:05, the fixed time of every test document.
inline TDateTime fixedTime()
{
    return encodeDateTime(2024, 1, 31, 14, 30, 5);
}

// The content stream written so far on the canvas's current page.
inline const std::string &pageContent(TPdfDoc &doc)
{
    return doc.Canvas().Contents()->Stream();
}
