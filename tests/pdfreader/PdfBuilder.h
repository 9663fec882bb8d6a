#pragma once

// Writes small PDF files for the reader's tests, the fuzzer's seeds and the
// benchmarks: by default in the shape of our own writer (CR LF structure,
// 20-byte cross-reference lines, LF-terminated content operators), with
// switches for the variations other files show.

#include <map>
#include <string>
#include <vector>

namespace pdftest {

// One text object of a content stream: BT, x y Td, one Tj per line with T*
// between, ET. Lines are CP932 bytes.
struct TextObject {
    std::string x, y;
    std::vector<std::string> lines;
};

// A literal string as our writer escapes it.
std::string literal(const std::string &bytes);
// A string shown in a content stream, as our canvas writes it: raw CP932
// bytes in hex when any double-byte character occurs, else a literal.
std::string shown(const std::string &bytes);
// A document-information text: literal for single-byte text, else the
// UTF-16 hex form with the byte-order-mark and language prefix.
std::string infoText(const std::string &cp932Bytes);
// CP932 bytes of a UTF-8 literal.
std::string sjis(const std::string &utf8);

std::string content(const std::vector<TextObject> &objects, bool fontSelection = true);
// "<<" CR LF "/Length n" CR LF "/Filter []" CR LF ">>" CR LF "stream" CR LF
// data LF "endstream".
std::string streamObject(const std::string &data, const std::string &extraKeys = std::string());
// "<<" CR LF, each "/key value" CR LF, ">>".
std::string dict(const std::vector<std::pair<std::string, std::string>> &entries);

struct PdfFile {
    std::string header = "%PDF-1.2 \r\n";
    // Object number -> the value written between "N 0 obj" CR LF and CR LF "endobj".
    std::map<int, std::string> objects;
    // Objects whose head is written with another number or generation.
    std::map<int, std::string> headOverride;
    std::vector<std::pair<std::string, std::string>> trailer; // defaults to Size, Root 1 0 R, Info 2 0 R
    bool defaultTrailer = true;
    std::string eof = "%%EOF\r\n";
    // Split the cross-reference table into two subsections at this object
    // number (0: one subsection).
    int splitAt = 0;

    // Whole file. Offsets of objects are recorded in `offsets`.
    std::string build() const;
    mutable std::map<int, std::size_t> offsets;
    mutable std::size_t xrefOffset = 0;
};

// The catalog, info and page tree of a plan-like file with one page per
// entry of `pages`; objects: 1 catalog, 2 info, 3 page tree, then per page
// the page and its content stream, then font 
// objects. Author and Subject are the plan markers unless given.
struct PlanOptions {
    std::string author = "Ｒ１．０";
    std::string subject = "ＲＩＨＡ";
    std::string version = "1.2";
};
PdfFile planFile(const std::vector<std::vector<TextObject>> &pages, const PlanOptions &options = PlanOptions());

// ~`itemsPerPage` short text objects per page, in the writer's shape.
std::vector<TextObject> planLikePage(int page, int itemsPerPage);

} // namespace pdftest
