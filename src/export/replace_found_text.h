#ifndef QUILLON_EXPORT_REPLACE_FOUND_TEXT_H
#define QUILLON_EXPORT_REPLACE_FOUND_TEXT_H

#include <string>

// A value's data after the change, and how many occurrences were replaced
// (0 when the data stays as it was).
struct ReplaceResult {
    std::string strNewData;
    int nCount = 0;
};

// Replaces every occurrence of the find text, and of its short (8.3) form
// when that is given, case ignored under the ANSI code page. The data is
// scanned once from left to right; at each point the leftmost occurrence of
// either form is taken, the short form when both start at the same offset.
// A short-form occurrence becomes strReplaceShort (strReplace when that is
// empty), a long-form occurrence strReplace, inserted exactly as given. The
// parts that are not replaced keep their own case, occurrences never
// overlap, and inserted text is never searched again.
ReplaceResult ReplaceFoundText(const std::string& strData, const std::string& strFind,
                               const std::string& strFindShort, const std::string& strReplace,
                               const std::string& strReplaceShort);

#endif
