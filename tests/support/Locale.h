#pragma once

// A locale whose decimal separator is a comma, for checking that numbers in
// files never follow the locale.

#include "support/Files.h"

#include <memory>
#include <string>

namespace testsupport {

// Makes a comma-decimal locale the C library's current locale (LC_ALL)
// while it lives: an installed one (de_DE, fr_FR, ...) when there is one,
// otherwise one built with localedef into a private folder found through
// LOCPATH. When neither works, active() is false and problem() says why.
// Puts the "C" locale and LOCPATH back when it goes.
class CommaDecimalLocale {
public:
    CommaDecimalLocale();
    ~CommaDecimalLocale();
    CommaDecimalLocale(const CommaDecimalLocale &) = delete;
    CommaDecimalLocale &operator=(const CommaDecimalLocale &) = delete;

    bool active() const { return !m_name.empty(); }
    const std::string &name() const { return m_name; }
    const std::string &problem() const { return m_problem; }

private:
    std::string m_name;
    std::string m_problem;
    std::unique_ptr<TempDir> m_built;
    bool m_hadLocPath = false;
    std::string m_oldLocPath;
};

} // namespace testsupport
