#pragma once

// File names as text. Wherever the core, the command-line tool or a plan
// index keeps a file name in a std::string, that string is UTF-8 on every
// platform; it becomes a std::filesystem::path only through these two
// functions. On Windows this never passes through the ANSI code page, so a
// plan saved under a Japanese name opens again; elsewhere the bytes are
// handed on unchanged.

#include <filesystem>
#include <string>
#include <string_view>

// The path a UTF-8 file name names. On Windows a name that is not valid
// UTF-8 raises std::filesystem::filesystem_error (it could name no file).
std::filesystem::path pathFromUtf8(std::string_view utf8);

// The path as UTF-8 text, for messages, JSON output and index entries.
std::string utf8FromPath(const std::filesystem::path &path);
