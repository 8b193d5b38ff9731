#include "export/replace_found_text.h"

#include "platform/ansi_text.h"

ReplaceResult ReplaceFoundText(const std::string& strData, const std::string& strFind,
                               const std::string& strFindShort, const std::string& strReplace,
                               const std::string& strReplaceShort) {
    // Upper-casing keeps every byte where it was, so an offset found in the
    // upper-cased copy is the same offset in the data.
    const std::string strDataUpper = AnsiUpperCopy(strData);
    const std::string strFindUpper = AnsiUpperCopy(strFind);
    const std::string strFindShortUpper = AnsiUpperCopy(strFindShort);
    const std::string& strShortReplacement = strReplaceShort.empty() ? strReplace : strReplaceShort;

    ReplaceResult result;
    size_t p = 0;
    for (;;) {
        const size_t nShortAt = strFindShortUpper.empty()
                                    ? std::string::npos
                                    : AnsiFind(strDataUpper, strFindShortUpper, p);
        const size_t nLongAt = AnsiFind(strDataUpper, strFindUpper, p);
        if (nShortAt == std::string::npos && nLongAt == std::string::npos)
            break;
        // npos is the largest offset, so a form that is not found never wins.
        const bool bShort = nShortAt <= nLongAt;
        const size_t nAt = bShort ? nShortAt : nLongAt;
        result.strNewData.append(strData, p, nAt - p);
        result.strNewData += bShort ? strShortReplacement : strReplace;
        p = nAt + (bShort ? strFindShortUpper.size() : strFindUpper.size());
        ++result.nCount;
    }
    if (p < strData.size())
        result.strNewData.append(strData, p, std::string::npos);
    return result;
}
