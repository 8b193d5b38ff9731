#ifndef QUILLON_EXPORT_ROW_CHECK_H
#define QUILLON_EXPORT_ROW_CHECK_H

#include "results/result_row.h"

#include <string>
#include <vector>

// Why a found value cannot be written exactly into a registry script file,
// or an empty text when it can. Such a value is left out of both files: a
// file that held it with '?' for a lost character, or cut at a line break,
// would change a different value, or the wrong one, when imported.
std::string WhyRowCannotBeExported(const ResultRow& row);

// One value left out of an export, and why.
struct LeftOutRow {
    std::string strValue; // the value's full name: key, then name
    std::string strReason;
};

// The one message that lists the values left out of an export.
std::string MakeLeftOutMessage(const std::vector<LeftOutRow>& rows);

#endif
