#pragma once

#include "pdfreader/Lexer.h"
#include "pdfreader/PdfString.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

// Extracts the text items of one content stream, reading the stream's bytes
// in memory directly, so that nothing is read beyond the end of the stream.
//
// It understands the text objects the plan writer produces: `BT`, an
// optional font selection, one `Td`, then one string with `Tj` per line,
// lines separated by `T*`, then `ET`. Between text objects the stream is
// read token by token: every `BT` operator starts an object; a `BT` inside
// a string, a comment or an inline image's data, or an invisible rendering
// mode (`3 Tr`, `7 Tr`), is text no viewer shows and raises "PDF HIDDEN
// TEXT ERROR Address : ". The fill colour selections (`rg`) each page makes
// outside its text objects are counted (TPdfString::fillColours). No other
// operator is interpreted and nothing is decompressed. An object that leaves
// this grammar ends early with the lines complete so far and is still added.
// Only work limits raise, with "PDF READ LIMIT ERROR Address : " and the
// position in the stream: a token or string longer than the lexer allows
// (TPdfLexer::MaxTokenLength), or, in all the pages of a file together, more
// than MaxTextItems items, MaxTextLines lines or MaxTextBytes bytes of text.
// A plan has about 400 items with 600 lines and 30 KB of text; every byte
// kept is copied a few times on its way to the editor or into JSON.
//
// When the item list keeps only the items of some windows (TPdfString::
// keepOnly), an object that starts elsewhere is read as far as the grammar
// goes, and its lines are counted against the limits, but none is kept: the
// same file raises the same faults whichever items are kept.
class TPdfContentScanner {
public:
    explicit TPdfContentScanner(std::string_view data) : m_data(data) {}

    // Adds every text object of the stream to `items`, on its current page.
    void scan(TPdfString &items);

    static constexpr std::size_t MaxTextItems = 20000;
    static constexpr std::size_t MaxTextLines = 100000;
    static constexpr std::size_t MaxTextBytes = 2 * 1024 * 1024;

private:
    enum class HiddenKind { Comment, Literal, Hex };

    // The byte routines of the lexer (TPdfLexer) over the stream's bytes,
    // ending quietly at the end of the stream as TEndOfInput::Stop has it.
    bool next(unsigned char &c)
    {
        if (m_at >= m_data.size())
            return false;
        c = static_cast<unsigned char>(m_data[m_at++]);
        return true;
    }
    void back() { --m_at; }
    // Up to two bytes compared with `word` (two bytes); advances over them.
    bool nextTwoAre(const char *word);
    void skipBlanks();
    void skipLineEnd();
    bool skipPast(std::string_view word);
    TPdfCurrency readReal();
    [[noreturn]] void failAt(const char *message) const;

    void skipHidden(HiddenKind kind);
    bool afterInvisibleMode(std::size_t from, std::size_t to) const;
    void skipInlineImage();
    // One text object after its `BT`, added to `items` (or only counted).
    void addTextObject(TPdfString &items);
    // One text object, `BT` and its line end already consumed; x and y come
    // from its Td. Its lines are kept when `items` wants an item there.
    std::vector<std::string> readTextObject(const TPdfString &items, TPdfCurrency &x, TPdfCurrency &y);
    // A string of the object after its opening byte, into `line`; false
    // when the object ends there.
    bool readLiteral(std::string &line);
    bool readHex(std::string &line);
    // Counts a line of the object being read within the text limits, and
    // appends it when the object's lines are kept.
    void keepLine(std::vector<std::string> &lines, std::string &line);

    // Counts the fill colour selections (`rg`) among bytes an object's
    // search for its next string passed over: when an object ends without
    // one, the search runs on through the objects after it, whose colour
    // selections a viewer still makes.
    static std::int32_t fillColoursIn(std::string_view bytes);

    std::string_view m_data;
    std::size_t m_at = 0;
    // Whether the object being read keeps its lines.
    bool m_keep = true;
    // Lines and bytes of text in the file so far, this stream's objects
    // included, kept or not; and those of the object being read.
    std::size_t m_lines = 0;
    std::size_t m_bytes = 0;
    std::size_t m_objectLines = 0;
    std::size_t m_objectBytes = 0;
    // Fill colour selections passed over inside the object being read.
    std::int32_t m_passedColours = 0;
    // The size of the line being read, also when its bytes are not kept.
    std::size_t m_lineSize = 0;
};
