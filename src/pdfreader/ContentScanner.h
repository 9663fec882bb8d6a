#pragma once

#include "pdfreader/Lexer.h"
#include "pdfreader/PdfString.h"

#include <string>
#include <string_view>
#include <vector>

// Extracts the text items of one content stream with the reader's lexer over
// the stream's bytes, so that nothing is read beyond the end of the stream.
//
// It understands the text objects the plan writer produces: `BT`, an
// optional font selection, one `Td`, then one string with `Tj` per line,
// lines separated by `T*`, then `ET`. Between text objects the stream is
// read token by token: every `BT` operator starts an object; a `BT` inside
// a string, a comment or an inline image's data, or an invisible rendering
// mode (`3 Tr`, `7 Tr`), is text no viewer shows and raises "PDF HIDDEN
// TEXT ERROR Address : ". The fill colour selections (`rg`) each page makes
// outside its text objects are counted (TPdfString::fillColours). No other
// operator is interpreted and nothing is decompressed. An object that leaves this grammar ends early with the lines
// complete so far and is still added. Only work limits raise, with "PDF
// READ LIMIT ERROR Address : " and the position in the stream: a token or
// string longer than the lexer allows, or, in all the pages of a file
// together, more than MaxTextItems items, MaxTextLines lines or
// MaxTextBytes bytes of text. A plan has about 400 items with 600 lines and
// 30 KB of text; every byte
// kept is copied a few times on its way to the editor or into JSON.
class TPdfContentScanner : private TPdfLexer {
public:
    explicit TPdfContentScanner(std::string_view data);

    // Adds every text object of the stream to `items`, on its current page.
    void scan(TPdfString &items);

    static constexpr std::size_t MaxTextItems = 20000;
    static constexpr std::size_t MaxTextLines = 100000;
    static constexpr std::size_t MaxTextBytes = 2 * 1024 * 1024;

private:
    enum class HiddenKind { Comment, Literal, Hex };
    void skipHidden(HiddenKind kind);
    void skipInlineImage();
    // One text object, `BT` and its line end already consumed; x and y come
    // from its Td.
    std::vector<std::string> readTextObject(TPdfCurrency &x, TPdfCurrency &y);
    // Appends a line to the object being read, within the text limits.
    void keepLine(std::vector<std::string> &lines, std::string line);
    // The bytes of a hex string's digits, a lone last digit taken as its
    // high half.
    static std::string hexBytes(std::string_view hex);

    // Counts the fill colour selections (`rg`) among bytes an object's
    // search for its next string passed over: when an object ends without
    // one, the search runs on through the objects after it, whose colour
    // selections a viewer still makes.
    static std::int32_t fillColoursIn(std::string_view bytes);

    // Lines and bytes of text kept in the file so far, this stream's
    // objects included.
    std::size_t m_lines = 0;
    std::size_t m_bytes = 0;
    // Fill colour selections passed over inside the object being read.
    std::int32_t m_passedColours = 0;
};
