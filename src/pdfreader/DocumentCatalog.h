#pragma once

#include "pdfreader/XReference.h"

#include <cstdint>
#include <string>

struct TPdfCatalogValues {
    std::string type, version, pageLayout, pageMode;                                 // names
    std::string pages, pageLabels, names, outlines, metadata, structTreeRoot, collection; // references
    std::int64_t dests = 0, viewerPreferences = 0, markInfo = 0, threads = 0, openAction = 0; // positions
    std::int32_t objectNumber = 0, generation = 0;
};

// Texts as read: literal strings byte for byte, the writer's Unicode hex
// strings converted to code page 932.
struct TPdfInfoValues {
    std::string title, author, subject, keywords, creator, producer, creationDate, modDate;
    std::string trapped; // name
    std::int32_t objectNumber = 0, generation = 0;
};

// Finds objects through the cross-reference entries and reads the document
// catalog (`Root`) and the document information (`Info`).
class TPdfDocumentCatalog : public TPdfXReference {
public:
    explicit TPdfDocumentCatalog(std::unique_ptr<TPdfInputStream> stream);

    const TPdfCatalogValues &catalog() const { return m_catalog; }
    const TPdfInfoValues &info() const { return m_info; }
    const std::string &author() const { return m_info.author; }
    const std::string &subject() const { return m_info.subject; }

protected:
    // Seeks to the object named by a reference text and checks its
    // "N G obj" head; returns the position where its value begins.
    std::int64_t findObject(std::string_view reference, TPdfReference *found = nullptr);
    // For entries that may be absent: true when the reference text names an
    // object (more than 4 bytes) whose value opens a dictionary, which is
    // then read next; false leaves the entry unread, without an error.
    bool openOptionalDictionary(const std::string &reference);

private:
    void readCatalog();
    void readInformation();

    TPdfCatalogValues m_catalog;
    TPdfInfoValues m_info;
};
