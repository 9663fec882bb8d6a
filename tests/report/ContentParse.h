#pragma once

// Reading back what the plan file holds, for tests: the content streams in
// object order, and the text objects of a content stream (start point of
// the Td and one string per line, as a reader that knows only BT, Td, Tj,
// T*, ET sees them).

#include <string>
#include <string_view>
#include <vector>

struct TextObject {
    double x = 0;
    double y = 0;
    std::vector<std::string> lines; // CP932 bytes
};

// The data of every stream of a PDF file, in file order.
std::vector<std::string> streamsOf(std::string_view pdf);

// Every BT ... ET of a content stream.
std::vector<TextObject> textObjectsOf(std::string_view content);

// Number of top-level "N 0 obj" lines.
int objectCount(std::string_view pdf);
