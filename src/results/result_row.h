#ifndef QUILLON_RESULTS_RESULT_ROW_H
#define QUILLON_RESULTS_RESULT_ROW_H

#include <string>

// What a row knows beyond its four texts. Two rows can look the same in the
// list and still need different lines in an exported file, so the export
// reads these marks; the user never sees them.
enum RowFlags : unsigned {
    kRowUnnamedValue = 0x1,  // the key's unnamed default value, shown as "(Default)"
    kRowKeyPathLost = 0x2,   // the key path lost characters in the ANSI code page
    kRowNameLost = 0x4,      // the value name lost characters
    kRowDataLost = 0x8,      // the data lost characters
    kRowDataAfterNul = 0x10, // the data goes on after a NUL, which a text cannot hold
};

// A row with any of these marks cannot be exported exactly.
constexpr unsigned kRowAnyTextLost =
    kRowKeyPathLost | kRowNameLost | kRowDataLost | kRowDataAfterNul;

// One found value.
struct ResultRow {
    std::string strRootKey;
    std::string strKeyPath;
    std::string strValueName;
    std::string strValueData;
    int nCheck = 1;
    unsigned nFlags = 0;
};

#endif
