#ifndef QUILLON_SEARCH_MATCHING_RULE_H
#define QUILLON_SEARCH_MATCHING_RULE_H

#include <windows.h>

#include <string>

// Which registry values a search lists: a REG_SZ value whose data, up to its
// first NUL, holds the find text or its short form, case ignored under the
// ANSI code page. The two find texts are upper-cased once, when the rule is
// made, since the rule is applied to every value of the registry.
class CMatchingRule {
public:
    CMatchingRule(const std::string& strFind, const std::string& strFindShort);

    // strData is the value's data as text, already cut at its first NUL.
    bool Matches(DWORD nType, const std::string& strData) const;

private:
    std::string m_strFindUpper;
    std::string m_strFindShortUpper;
    mutable std::string m_strDataUpper; // reused, so a match test allocates rarely
};

#endif
