#pragma once

#include "pdfreader/ArrayList.h"
#include "pdfreader/Lexer.h"

#include <cstdint>
#include <memory>
#include <string>

// Bottom of the reader's class chain: the lexer over the file, which on
// construction checks the header and the tail of the file and finds the last
// cross-reference section. The layers above read everything else with the
// lexer's routines.
//
// Every failure raises EPdfReadError; after that the object is not usable.
// Reading past the end of the file raises "PDF FILE READ ERROR Address : "
// with the position instead of returning garbage.
class TPdfBase : public TPdfLexer {
public:
    explicit TPdfBase(std::unique_ptr<TPdfInputStream> stream);

    const std::string &version() const { return m_version; }
    bool linearized() const { return m_linearized; }
    std::int64_t lastCrossReferenceOffset() const { return m_lastXref; }
    const TArrayList &entries() const { return m_entries; }

    // Linearization values of the first object (texts of digits) and the
    // position after the `[` of its H array; empty / 0 when absent.
    struct Linearization {
        std::string linearized, l, o, e, n, t, p;
        std::int64_t hPosition = 0;
    };
    const Linearization &linearization() const { return m_lin; }

protected:
    TArrayList m_entries;

private:
    void open();
    void readLinearization();

    std::int64_t m_lastXref = 0;
    bool m_linearized = false;
    Linearization m_lin;
    std::string m_version;
};
