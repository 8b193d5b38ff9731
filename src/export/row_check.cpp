#include "export/row_check.h"

#include "export/registry_script_writer.h"

namespace {

// The message lists this many values at most; it says how many more there are.
constexpr size_t kMaxListedRows = 20;

} // namespace

std::string WhyRowCannotBeExported(const ResultRow& row) {
    if (row.nFlags & kRowKeyPathLost)
        return "its key name holds characters that the ANSI code page cannot hold";
    if (row.nFlags & kRowNameLost)
        return "its name holds characters that the ANSI code page cannot hold";
    if (row.nFlags & kRowDataLost)
        return "its data holds characters that the ANSI code page cannot hold";
    if (row.nFlags & kRowDataAfterNul)
        return "its data goes on after a NUL character";
    if (!CanWriteKeyPath(row.strKeyPath))
        return "its key name holds a line break";
    if (!(row.nFlags & kRowUnnamedValue) && !CanWriteName(row.strValueName))
        return "its name holds a line break";
    return {};
}

std::string MakeLeftOutMessage(const std::vector<LeftOutRow>& rows) {
    std::string strMessage =
        "These Values Were Left Out Of Both Files, Since a Registry File Cannot Hold Them "
        "Exactly :\r\n\r\n";
    for (size_t i = 0; i < rows.size() && i < kMaxListedRows; ++i)
        strMessage += rows[i].strValue + " : " + rows[i].strReason + ".\r\n";
    if (rows.size() > kMaxListedRows)
        strMessage += "... and " + std::to_string(rows.size() - kMaxListedRows) + " more.\r\n";
    return strMessage;
}
