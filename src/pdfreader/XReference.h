#pragma once

#include "pdfreader/Base.h"

#include <cstdint>
#include <string>

// Values of the newest trailer. Absent keys stay empty (position 0). (Not
// TPdfTrailer: that is the writer's class, and a program links both.)
struct TPdfTrailerValues {
    std::string size;        // digits
    std::string root;        // reference text
    std::string info;        // reference text
    std::string prev;        // digits
    std::string encrypt;     // token, recorded only
    std::int64_t id = 0;     // position after the `[` of the ID array
    std::string docChecksum; // name
    std::string xrefStm;     // token, recorded only
};

// Reads the classic cross-reference section that `startxref` names and the
// older sections reached through the trailers' `Prev` entries, newest
// first, into the entry list. Cross-reference streams and encryption are
// not handled: their trailer values are only recorded.
class TPdfXReference : public TPdfBase {
public:
    explicit TPdfXReference(std::unique_ptr<TPdfInputStream> stream);

    const TPdfTrailerValues &trailer() const { return m_trailer; }

private:
    void readSection(std::int64_t offset);
    bool readTrailerDictionary();

    TPdfTrailerValues m_trailer;
};
