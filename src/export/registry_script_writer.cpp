#include "export/registry_script_writer.h"

#include "platform/ansi_text.h"

#include <algorithm>

namespace {

const char kLineEnd[] = "\r\n";
// Lines of a wrapped hex list stay under 80 characters, like the registry
// editor's own.
const size_t kMaxLineLength = 79;

// Removes one leading and then one trailing backslash, if present.
std::string TrimOneBackslash(std::string strText) {
    if (!strText.empty() && strText.front() == '\\')
        strText.erase(0, 1);
    if (!strText.empty() && strText.back() == '\\')
        strText.pop_back();
    return strText;
}

// The text between double quotes, with every backslash doubled and every
// double quote escaped. Only whole characters are looked at: in a
// double-byte code page a trail byte can have the value of a backslash, and
// the registry editor reads it as part of its character.
std::string QuoteAndEscape(const std::string& strText) {
    std::string strQuoted = "\"";
    strQuoted.reserve(strText.size() + 2);
    for (size_t i = 0; i < strText.size(); ++i) {
        const char ch = strText[i];
        if (IsDBCSLeadByte(static_cast<BYTE>(ch)) && i + 1 < strText.size()) {
            strQuoted += ch;
            strQuoted += strText[++i];
            continue;
        }
        if (ch == '\\' || ch == '"')
            strQuoted += '\\';
        strQuoted += ch;
    }
    strQuoted += '"';
    return strQuoted;
}

// hex(1): and the bytes of the text with a final NUL, two lowercase digits
// each, separated by commas, wrapped after a comma where a line would grow
// too long.
std::string HexStringField(const std::string& strText, size_t nStartColumn) {
    static const char kDigits[] = "0123456789abcdef";
    std::string strField = "hex(1):";
    size_t nColumn = nStartColumn + strField.size();
    bool bLineHasByte = false;
    const size_t nBytes = strText.size() + 1; // the final NUL
    for (size_t i = 0; i < nBytes; ++i) {
        const bool bLast = i + 1 == nBytes;
        // A byte that is not the last takes a comma after it and must leave
        // room for the backslash of a wrap.
        const size_t nNeeded = bLast ? 2 : 4;
        if (bLineHasByte && nColumn + nNeeded > kMaxLineLength) {
            strField += "\\";
            strField += kLineEnd;
            strField += "  ";
            nColumn = 2;
        }
        const unsigned char byte = i < strText.size() ? static_cast<unsigned char>(strText[i]) : 0;
        strField += kDigits[byte >> 4];
        strField += kDigits[byte & 0xF];
        nColumn += 2;
        if (!bLast) {
            strField += ',';
            ++nColumn;
        }
        bLineHasByte = true;
    }
    return strField;
}

} // namespace

std::string MakeKeyPath(const std::string& strRootKey, const std::string& strKeyPath) {
    std::string strPath = TrimOneBackslash(AnsiUpperCopy(strRootKey));
    const std::string strBelowRoot = TrimOneBackslash(strKeyPath);
    if (!strBelowRoot.empty())
        strPath += "\\" + strBelowRoot;
    return strPath;
}

std::string MakeNameField(const std::string& strValueName, bool bUnnamedValue) {
    return bUnnamedValue ? "@" : QuoteAndEscape(strValueName);
}

std::string MakeDataField(const std::string& strData, size_t nStartColumn) {
    if (strData.find_first_of(std::string("\r\n\0", 3)) != std::string::npos)
        return HexStringField(strData, nStartColumn);
    return QuoteAndEscape(strData);
}

bool CanWriteName(const std::string& strValueName) {
    return strValueName.find_first_of("\r\n") == std::string::npos;
}

bool CanWriteKeyPath(const std::string& strKeyPath) {
    return strKeyPath.find_first_of("\r\n") == std::string::npos;
}

CRegistryScriptWriter::~CRegistryScriptWriter() {
    Close();
}

bool CRegistryScriptWriter::Open(const std::string& strPath) {
    Close();
    m_hFile = CreateFileA(strPath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE,
                          nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (m_hFile == INVALID_HANDLE_VALUE)
        return false;
    m_bFailed = false;
    WriteText(std::string("REGEDIT4") + kLineEnd + kLineEnd);
    if (m_bFailed) {
        Close();
        return false;
    }
    return true;
}

void CRegistryScriptWriter::WriteKeyLine(const std::string& strRootKey,
                                         const std::string& strKeyPath) {
    if (!CanWriteKeyPath(strKeyPath)) {
        m_bFailed = true;
        return;
    }
    WriteText("[" + MakeKeyPath(strRootKey, strKeyPath) + "]" + kLineEnd);
}

void CRegistryScriptWriter::WriteValueLine(const std::string& strValueName, bool bUnnamedValue,
                                           const std::string& strData) {
    if (!bUnnamedValue && !CanWriteName(strValueName)) {
        m_bFailed = true;
        return;
    }
    std::string strLine = MakeNameField(strValueName, bUnnamedValue) + "=";
    strLine += MakeDataField(strData, strLine.size());
    strLine += kLineEnd;
    strLine += kLineEnd;
    WriteText(strLine);
}

void CRegistryScriptWriter::WriteText(const std::string& strText) {
    if (m_hFile == INVALID_HANDLE_VALUE)
        return;
    // The program keeps no buffer of its own: what WriteFile accepts is in
    // the file, where other programs can read it at once.
    size_t nDone = 0;
    while (!m_bFailed && nDone < strText.size()) {
        const DWORD nChunk = static_cast<DWORD>(std::min<size_t>(strText.size() - nDone, 1u << 30));
        DWORD nWritten = 0;
        if (!WriteFile(m_hFile, strText.data() + nDone, nChunk, &nWritten, nullptr) ||
            nWritten == 0)
            m_bFailed = true;
        nDone += nWritten;
    }
}

bool CRegistryScriptWriter::Close() {
    if (m_hFile == INVALID_HANDLE_VALUE)
        return false;
    bool bOk = !m_bFailed;
    if (!FlushFileBuffers(m_hFile))
        bOk = false;
    if (!CloseHandle(m_hFile))
        bOk = false;
    m_hFile = INVALID_HANDLE_VALUE;
    return bOk;
}
