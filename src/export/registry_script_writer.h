#ifndef QUILLON_EXPORT_REGISTRY_SCRIPT_WRITER_H
#define QUILLON_EXPORT_REGISTRY_SCRIPT_WRITER_H

#include <windows.h>

#include <cstddef>
#include <string>

// Registry script files in the REGEDIT4 format, which the system registry
// editor imports. The file is 8-bit text of the ANSI code page, written byte
// for byte (no conversion, no byte order mark); every line ends with CR LF.

// The text between the brackets of a key line: the root key name
// upper-cased, then the key path with one leading and one trailing
// backslash removed, in its own case: "ROOT\path", or "ROOT" alone when the
// path is empty. Nothing is escaped.
std::string MakeKeyPath(const std::string& strRootKey, const std::string& strKeyPath);

// The left side of a value line: @ for the key's unnamed default value only.
// Every other name, also a real value named "(Default)" or "@", is quoted,
// with every backslash doubled and every double quote escaped.
std::string MakeNameField(const std::string& strValueName, bool bUnnamedValue);

// The right side of a value line for string data: the data quoted and
// escaped as a name is. Data that holds a line feed, a carriage return or a
// NUL is written instead as hex(1): with the bytes of the text and a final
// 00, since a line break inside a quoted string would end the line there.
// A long hex list is wrapped after a comma (a backslash, CR LF and two
// blanks) so that its lines stay under 80 characters; nStartColumn is where
// the field starts on its first line.
std::string MakeDataField(const std::string& strData, size_t nStartColumn = 0);

// False for a value name that no value line can hold: one with a line feed
// or a carriage return. The export leaves such a value out.
bool CanWriteName(const std::string& strValueName);

// False for a key path that no key line can hold, for the same reason. The
// registry editor would take the broken key line for no key at all and put
// the values after it into the key of the line before, so the export leaves
// such a value out too.
bool CanWriteKeyPath(const std::string& strKeyPath);

// Writes one registry script file. Each line goes to the file as soon as it
// is complete. Once a write fails, later writes do nothing and Close reports
// the failure, so a file cut short never looks complete.
class CRegistryScriptWriter {
public:
    CRegistryScriptWriter() = default;
    ~CRegistryScriptWriter();
    CRegistryScriptWriter(const CRegistryScriptWriter&) = delete;
    CRegistryScriptWriter& operator=(const CRegistryScriptWriter&) = delete;

    // Creates the file, or empties it, and writes the REGEDIT4 header. Other
    // programs may open the file while it is written. False when the file
    // cannot be created or the header cannot be written. A file that is
    // still open is closed first.
    bool Open(const std::string& strPath);

    // "[key path]", which starts a key's entries. A key path that
    // CanWriteKeyPath refuses is not written and counts as a failed write,
    // since the file would import wrongly.
    void WriteKeyLine(const std::string& strRootKey, const std::string& strKeyPath);
    // name=data, followed by an empty line. A name that CanWriteName refuses
    // (for a named value) counts as a failed write in the same way.
    void WriteValueLine(const std::string& strValueName, bool bUnnamedValue,
                        const std::string& strData);

    // Flushes and closes the file. True only when every write since Open,
    // the flush and the close succeeded; false also when no file is open
    // (Open failed, or Close was already called).
    bool Close();

private:
    // Writes the text straight to the file, unless an earlier write failed.
    void WriteText(const std::string& strText);

    HANDLE m_hFile = INVALID_HANDLE_VALUE;
    bool m_bFailed = false;
};

#endif
