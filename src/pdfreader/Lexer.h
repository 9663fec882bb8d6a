#pragma once

#include "pdfreader/PdfInputStream.h"
#include "pdfreader/PdfReadError.h"

#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

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

// What the routines that need one more byte do at the end of the input.
enum class TEndOfInput {
    // Raise "PDF FILE READ ERROR Address : " with the position: a file's
    // objects never end in the middle of a value.
    Raise,
    // End quietly where the input ends: a content stream's text object that
    // runs into the end of the stream simply ends there. Applies to
    // SkipBlanks, SkipLineEnd and ReadLiteral; the other routines raise as
    // with Raise.
    Stop,
};

// The reader's one tokenizer: byte-level routines over one input source (a
// file, or the bytes of one content stream). There is no object tree: each
// routine reads one kind of value at the current position and returns it as
// text, a number or a position to come back to. Blank bytes are 0, 9, 10,
// 12, 13 and 32; line-end bytes are CR and LF.
//
// Every failure raises EPdfReadError with the reader's message; positions in
// messages are 8 upper-case hex digits of the current position.
class TPdfLexer {
public:
    explicit TPdfLexer(std::unique_ptr<TPdfInputStream> stream, TEndOfInput atEnd = TEndOfInput::Raise);
    virtual ~TPdfLexer() = default;
    TPdfLexer(const TPdfLexer &) = delete;
    TPdfLexer &operator=(const TPdfLexer &) = delete;

    std::int64_t fileSize() const { return m_stream->size(); }
    // Bytes delivered by the stream so far (see TPdfInputStream's limit).
    std::int64_t bytesRead() const { return m_stream->bytesRead(); }

    // `length` bytes of the input from `position`; raises the read error when
    // the range does not lie inside it. Used to copy an image's data.
    std::string readRange(std::int64_t position, std::int64_t length);
    // The same bytes as a view, valid until the next read: into the input's
    // own bytes where it holds them, else into `storage`.
    std::string_view readRangeView(std::int64_t position, std::int64_t length, std::string &storage);

    // Reference text -> numbers; nothing when the text has no object number
    // and generation at its start. No input access.
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

    // The longest token or string a routine reads (see ReadKey, ReadLiteral);
    // the content scanner holds strings to the same bound.
    static constexpr std::size_t MaxTokenLength = 64 * 1024;

protected:
    // Input access.
    std::int64_t position() const { return m_stream->position(); }
    void seek(std::int64_t pos) { m_stream->seek(pos); }
    bool atEnd() const { return m_stream->atEnd(); }
    // One byte; raises the read error at the end of the input.
    unsigned char readByte();
    // One byte, or nothing at the end of the input (position unchanged).
    bool tryReadByte(unsigned char &byte) { return m_stream->readByte(byte); }
    // Up to `count` bytes; fewer at the end of the input.
    std::string readBytes(std::int64_t count) { return m_stream->read(count); }
    [[noreturn]] void fail(const std::string &message) const;
    [[noreturn]] void failAt(const std::string &message) const;
    [[noreturn]] void readPastEnd() const;

    static bool isBlank(unsigned char c) { return c == 0 || c == 9 || c == 10 || c == 12 || c == 13 || c == 32; }
    static bool isLineEnd(unsigned char c) { return c == 10 || c == 13; }

    void SkipBlanks();
    void SkipLineEnd();
    void SkipToLineEnd();
    // A line, of which at most MaxLineKept bytes are kept.
    std::string ReadLine();
    // The routines that read a token (a key, a name, digits, a reference,
    // ...) refuse one longer than MaxTokenLength with
    // "PDF READ LIMIT ERROR Address : ": no value of a plan file comes near.
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
    // `(`. False when the input ends first (`out` then holds what was read).
    // Like a token, a string of more than MaxTokenLength bytes is refused
    // with "PDF READ LIMIT ERROR Address : ", whatever the end-of-input rule.
    bool ReadLiteral(std::string &out);
    // Bytes up to and including the first occurrence of `word`; false, at the
    // end of the input, when there is none.
    bool SkipPast(std::string_view word);
    // Bytes up to and including the first byte that is one of `stops`; that
    // byte, or nothing at the end of the input.
    std::optional<unsigned char> SkipToAnyOf(std::string_view stops);

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

    static constexpr std::size_t MaxLineKept = 1024;

private:
    void keep(std::string &token, unsigned char c);
    // One byte where a routine needs one to go on; at the end of the input
    // raises or, with TEndOfInput::Stop, returns false.
    bool needByte(unsigned char &byte);
    void skipNested(unsigned char open, unsigned char close);
    void skipNestedPairs();

    std::unique_ptr<TPdfInputStream> m_stream;
    TEndOfInput m_atEnd;
    unsigned char m_currentByte = 0;
};
