#pragma once

// Typed faces of two dictionaries of every document: the catalog (page
// tree root, page layout and mode, viewer preferences) and the document
// information (Author, dates, Producer, ...). The dictionaries themselves
// belong to the cross-reference table; the wrappers only point at them.

#include "pdfwriter/PdfTypes.h"

#include "plan/DateTime.h"

#include <string>

enum TPdfPageLayout { plSinglePage, plOneColumn, plTwoColumnLeft, plTwoColumnRight };
enum TPdfPageMode { pmUseNone, pmUseOutlines, pmUseThumbs, pmFullScreen };
enum TPdfViewerPreference { vpHideToolbar, vpHideMenubar, vpHideWindowUI, vpFitWindow, vpCenterWindow };
// A set of viewer preferences: bit (1 << preference) per member.
using TPdfViewerPreferences = unsigned;
constexpr TPdfViewerPreferences vpBit(TPdfViewerPreference p) { return 1u << static_cast<unsigned>(p); }

// The document information dictionary. Texts are CP932 bytes.
class TPdfInfo : public TPdfDictionaryWrapper {
public:
    void SetAuthor(const std::string &value);
    void SetCreationDate(TDateTime value);
    void SetModDate(TDateTime value);
    void SetCreator(const std::string &value);
    void SetProducer(const std::string &value);
    void SetTitle(const std::string &value);
    void SetSubject(const std::string &value);
    void SetKeywords(const std::string &value);
    // Stored text of a key (dates as "D:..."), empty when absent.
    std::string Author() const;
    std::string Creator() const;
    std::string Title() const;
    std::string Subject() const;
    std::string Keywords() const;

private:
    void SetText(const char *key, const std::string &value);
    std::string Text(const char *key) const;
};

// The document catalog.
class TPdfCatalog : public TPdfDictionaryWrapper {
public:
    // Stores Pages; only a dictionary whose Type is Pages is accepted.
    void SetPages(TPdfDictionary *pages);
    void SetPageLayout(TPdfPageLayout value);
    void SetPageMode(TPdfPageMode value);
    // Inside ViewerPreferences; pmUseNone and pmFullScreen remove the key.
    void SetNonFullScreenPageMode(TPdfPageMode value);
    // Inside ViewerPreferences: true under each member, other keys removed.
    void SetViewerPreference(TPdfViewerPreferences value);
    TPdfPageLayout PageLayout() const;
    TPdfPageMode PageMode() const;

private:
    TPdfDictionary *ViewerPreferences();
};

// "D:yyyymmddhhnnss" of a date-time value (local time as stored, no zone).
std::string PdfDateString(TDateTime value);
