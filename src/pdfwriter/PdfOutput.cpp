#include "pdfwriter/PdfOutput.h"

#include "pdfwriter/PdfError.h"

bool TPdfStringOutput::Write(std::string_view bytes)
{
    m_target.append(bytes);
    return true;
}

TPdfFileOutput::TPdfFileOutput(const std::string &path)
{
    m_file = std::fopen(path.c_str(), "wb");
    if (m_file == nullptr) {
        throw EPdfWriteError("Cannot create file \"" + path + "\"");
    }
}

TPdfFileOutput::~TPdfFileOutput()
{
    if (m_file != nullptr) {
        std::fclose(m_file);
    }
}

bool TPdfFileOutput::Write(std::string_view bytes)
{
    if (m_file == nullptr || m_failed) {
        return false;
    }
    if (std::fwrite(bytes.data(), 1, bytes.size(), m_file) != bytes.size()) {
        m_failed = true;
    }
    return !m_failed;
}

void TPdfFileOutput::Close()
{
    if (m_file == nullptr) {
        return;
    }
    const bool flushed = std::fflush(m_file) == 0;
    const bool closed = std::fclose(m_file) == 0;
    m_file = nullptr;
    if (m_failed || !flushed || !closed) {
        throw EPdfWriteError("SaveToStream --failed to write the file.");
    }
}
