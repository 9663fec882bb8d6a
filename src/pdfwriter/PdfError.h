#pragma once

// The exceptions of the PDF writer and of the report engine built on it.
// Every fault is raised as an EPdfError (or a class derived from it) whose
// what() is exactly the fixed message text; nothing in these layers catches
// them, so a caller can catch EPdfError once for any failure of a save.

#include <stdexcept>
#include <string>

// Base of every exception the writer and the report engine raise. Raised as
// is for the few faults that are neither a wrong state nor a wrong value (an
// unknown font name).
class EPdfError : public std::runtime_error {
public:
    explicit EPdfError(const std::string &message) : std::runtime_error(message) {}
};

// An operation called in a state that does not allow it, or handed an object
// of the wrong kind.
class EPdfInvalidOperation : public EPdfError {
public:
    using EPdfError::EPdfError;
};

// A value out of its range.
class EPdfInvalidValue : public EPdfError {
public:
    using EPdfError::EPdfError;
};

// A write to the output sink failed (disk full, closed pipe, ...). The file
// on the other end is incomplete.
class EPdfWriteError : public EPdfError {
public:
    using EPdfError::EPdfError;
};
