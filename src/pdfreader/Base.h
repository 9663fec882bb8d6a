#pragma once

#include "pdfreader/ArrayList.h"
#include "pdfreader/PdfInputStream.h"
#include "pdfreader/PdfReadError.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>

// Object number and generation taken from a reference text such as "12 0 R".
struct TPdfReference {
    std::int32_t number = 0;
    std::int32_t generation = 0;
};

// Fixed-point decimal with four decimal places, as read from a content
// stream operand: 96.5 is held as 965000.
using TPdfCurrency = std::int64_t;
constexpr TPdfCurrency CurrencyScale = 10000;

namespace pdfreader {
// Digits with at most one decimal point -> fixed-point value with four
// decimals; anything else, an empty text included, gives 0.
TPdfCurrency parseCurrency(std::string_view text);
}

// Bottom of the reader: checks the header and the tail of the file, finds
// the last cross-reference section, and offers the byte-level routines from
// which the layers above read everything. The reader does not build an
// object tree: it seeks to positions and reads one kind of value per routine,
// returning texts, numbers or positions to come back to.
//
// Every failure raises EPdfReadError; after that the object is not usable.
// Reading past the end of the file raises "PDF FILE READ ERROR Address : "
// with the position instead of returning garbage.
class TPdfBase {
public:
    explicit TPdfBase(std::unique_ptr<TPdfInputStream> stream);
    virtual ~TPdfBase() = default;
    TPdfBase(const TPdfBase &) = delete;
    TPdfBase &operator=(const TPdfBase &) = delete;

    const std::string &version() const { return m_version; }
    bool linearized() const { return m_linearized; }
    std::int64_t lastCrossReferenceOffset() const { return m_lastXref; }
    const TArrayList &entries() const { return m_entries; }
    std::int64_t fileSize() const { return m_stream->size(); }
    // Bytes delivered by the stream so far (see TPdfInputStream's limit).
    std::int64_t bytesRead() const { return m_stream->bytesRead(); }

    // Linearization values of the first object (texts of digits) and the
    // position after the `[` of its H array; empty / 0 when absent.
    struct Linearization {
        std::string linearized, l, o, e, n, t, p;
        std::int64_t hPosition = 0;
    };
    const Linearization &linearization() const { return m_lin; }

    // `length` bytes of the file from `position`; raises the read error when
    // the range does not lie inside the file. Used to copy an image's data.
    std::string readRange(std::int64_t position, std::int64_t length);

    // Reference text -> numbers; nothing when the text has no object number
    // and generation at its start. No file access.
    static std::optional<TPdfReference> ParseReference(std::string_view text);
    // Hex digits of UTF-16BE code units -> text in code page 932. An empty
    // conversion gives "Error".
    static std::string DecodeUnicodeHex(std::string_view hex);
    // Two upper-case hex digits -> byte, first digit high.
    static unsigned char HexPairToByte(char high, char low);

    // Whole-text conversions used for values read by ReadDigits and friends:
    // nothing unless the text is a non-empty run of decimal digits in range.
    static std::optional<std::int32_t> toInt32(std::string_view text);
    static std::optional<std::int64_t> toInt64(std::string_view text);

protected:
    // Stream access.
    std::int64_t position() const { return m_stream->position(); }
    void seek(std::int64_t pos) { m_stream->seek(pos); }
    bool atEnd() const { return m_stream->atEnd(); }
    // One byte; raises the read error at the end of the file.
    unsigned char readByte();
    // One byte, or nothing at the end of the file (position unchanged).
    bool tryReadByte(unsigned char &byte) { return m_stream->readByte(byte); }
    // Up to `count` bytes; fewer at the end of the file.
    std::string readBytes(std::int64_t count) { return m_stream->read(count); }
    [[noreturn]] void fail(const std::string &message) const;
    [[noreturn]] void failAt(const std::string &message) const;
    [[noreturn]] void readPastEnd() const;

    // Blank bytes: 0, 9, 10, 12, 13, 32. Line ends: CR, LF.
    static bool isBlank(unsigned char c) { return c == 0 || c == 9 || c == 10 || c == 12 || c == 13 || c == 32; }
    static bool isLineEnd(unsigned char c) { return c == 10 || c == 13; }

    void SkipBlanks();
    void SkipLineEnd();
    void SkipToLineEnd();
    std::string ReadLine();
    std::string ReadKey();
    std::string ReadName();
    std::string ReadToken();
    std::string ReadReference();
    std::string ReadDigits();
    std::string ReadHexDigits();
    TPdfCurrency ReadReal();
    std::string ReadString();
    std::string ReadStringOrArray();
    std::string ReadNameOrArray();
    void SkipArray();
    void SkipDictionary();
    void SkipDictionaryOrArray();
    std::int64_t GetIDArrayToken();
    std::int64_t GetDictionaryToken();
    std::int64_t GetDictionaryOrArrayToken();

    // Literal string body after its `(`: backslash escapes and nested
    // parentheses as PDF defines them, up to the `)` that closes the first
    // `(`. Raises the read error when the file ends first.
    std::string readLiteralBody();

    // The common dictionary pattern: after the `<<`, skip the line end, then
    // for every `/Key` call `onKey(key)`, which reads the value and returns
    // false to make the dictionary fail. The first byte that is not `/` and
    // the byte after it end the dictionary, which is well formed when they
    // are `>>`.
    template <class OnKey>
    bool readDictionaryBody(OnKey &&onKey)
    {
        SkipBlanks();
        SkipLineEnd();
        for (;;) {
            SkipBlanks();
            const unsigned char c = readByte();
            if (c != '/') {
                // Two bytes end the dictionary, whatever the first is.
                const unsigned char next = readByte();
                if (c != '>' || next != '>')
                    return false;
                SkipBlanks();
                SkipLineEnd();
                return true;
            }
            const std::string key = ReadKey();
            SkipBlanks();
            if (!onKey(key))
                return false;
            SkipLineEnd();
        }
    }

    TArrayList m_entries;

private:
    void open();
    void readLinearization();
    void skipNested(unsigned char open, unsigned char close);
    void skipNestedPairs();

    std::unique_ptr<TPdfInputStream> m_stream;
    unsigned char m_currentByte = 0;
    std::int64_t m_lastXref = 0;
    bool m_linearized = false;
    Linearization m_lin;
    std::string m_version;
};
