#include "search/matching_rule.h"

#include "platform/ansi_text.h"

CMatchingRule::CMatchingRule(const std::string& strFind, const std::string& strFindShort)
    : m_strFindUpper(AnsiUpperCopy(strFind)), m_strFindShortUpper(AnsiUpperCopy(strFindShort)) {}

bool CMatchingRule::Matches(DWORD nType, const std::string& strData) const {
    if (nType != REG_SZ || strData.empty())
        return false;
    m_strDataUpper = strData;
    AnsiUpper(m_strDataUpper);
    return AnsiContains(m_strDataUpper, m_strFindUpper) ||
           (!m_strFindShortUpper.empty() && AnsiContains(m_strDataUpper, m_strFindShortUpper));
}
