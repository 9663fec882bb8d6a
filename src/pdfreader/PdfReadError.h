#pragma once

#include <cstdint>
#include <exception>
#include <string>

// The one exception type of the PDF reader. what() is exactly the reader's
// message (for instance "PDF OBJ NOT FOUND ERROR Address : 0000002A"); every
// fault of every layer, including file-open and read-past-end failures, is
// reported through it, so callers need to catch nothing else.
class EPdfReadError : public std::exception {
public:
    explicit EPdfReadError(std::string message) : m_message(std::move(message)) {}
    const char *what() const noexcept override { return m_message.c_str(); }
    const std::string &message() const noexcept { return m_message; }

private:
    std::string m_message;
};

namespace pdfreader {

// A file position as it appears in messages: at least 8 upper-case hex digits.
std::string hexPosition(std::int64_t position);

} // namespace pdfreader
