#pragma once

// The sinks a document is saved into: a string in memory or a file.

#include <cstdio>
#include <string>
#include <string_view>

// Where a document is saved. Write returns false when the bytes could not be
// written; saving then stops with EPdfWriteError.
class TPdfOutput {
public:
    virtual ~TPdfOutput() = default;
    virtual bool Write(std::string_view bytes) = 0;
};

// Appends to a string in memory.
class TPdfStringOutput : public TPdfOutput {
public:
    explicit TPdfStringOutput(std::string &target) : m_target(target) {}
    bool Write(std::string_view bytes) override;

private:
    std::string &m_target;
};

// Creates (or truncates) a file. `path` is a native path in the narrow
// encoding the platform's file functions take. A file that cannot be created
// raises EPdfWriteError "Cannot create file "<path>"". Close() flushes and
// reports a failed write or close with EPdfWriteError; the destructor closes
// silently.
class TPdfFileOutput : public TPdfOutput {
public:
    explicit TPdfFileOutput(const std::string &path);
    ~TPdfFileOutput() override;
    TPdfFileOutput(const TPdfFileOutput &) = delete;
    TPdfFileOutput &operator=(const TPdfFileOutput &) = delete;
    bool Write(std::string_view bytes) override;
    void Close();

private:
    std::FILE *m_file = nullptr;
    bool m_failed = false;
};
