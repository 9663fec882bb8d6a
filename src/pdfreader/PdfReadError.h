#pragma once

#include <cstdint>
#include <exception>
#include <string>

// The one exception type of the PDF reader. what() is exactly the reader's
// message (for instance "PDF OBJ NOT FOUND ERROR Address : 0000002A"); every
// fault of every layer, including file-open and read-past-end failures, is
// reported through it, so callers need to catch nothing else.
//
// The message is code-page-932 text, except that a message naming a file
// ends with the file name as the platform spells it (UTF-8 here). Such a
// message keeps the two parts apart as well, so that a program showing it
// converts each part from its own encoding.
class EPdfReadError : public std::exception {
public:
    explicit EPdfReadError(std::string message) : m_message(std::move(message)), m_textSize(m_message.size()) {}
    // `text` (code page 932) followed by `fileName` (UTF-8).
    EPdfReadError(const std::string &text, const std::string &fileName)
        : m_message(text + fileName), m_textSize(text.size())
    {
    }
    const char *what() const noexcept override { return m_message.c_str(); }
    const std::string &message() const noexcept { return m_message; }
    // The message without the file name it ends with, in code page 932.
    std::string text() const { return m_message.substr(0, m_textSize); }
    // The file name the message ends with; empty when it names none.
    std::string fileName() const { return m_message.substr(m_textSize); }

private:
    std::string m_message;
    std::size_t m_textSize;
};

namespace pdfreader {

// The message of a read that ran out of memory: the reader's facade turns
// std::bad_alloc into EPdfReadError with it, so that a hostile file never
// ends a program.
inline constexpr const char *kOutOfMemoryMessage = "PDF READ MEMORY ERROR";

// A file position as it appears in messages: at least 8 upper-case hex digits.
std::string hexPosition(std::int64_t position);

} // namespace pdfreader
