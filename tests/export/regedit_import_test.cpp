#include "export/registry_script_writer.h"
#include "export/replace_found_text.h"
#include "platform/wide_text.h"
#include "export/registry_snapshot.h"
#include "search/walk_fixture.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <map>
#include <utility>
#include <vector>

// Files written by the writer, imported by the system's own registry editor
// into keys below the test key, and read back through the wide registry API.

namespace {

// A value as the registry holds it: its type and its data bytes, seen as
// UTF-16 text (final NUL included).
struct StoredValue {
    DWORD nType;
    std::wstring data;
    bool operator==(const StoredValue& other) const {
        return nType == other.nType && data == other.data;
    }
};

std::ostream& operator<<(std::ostream& os, const StoredValue& v) {
    std::string strData;
    WideToAnsi(v.data, strData);
    return os << "type " << v.nType << ", " << v.data.size() << " characters: " << strData;
}

// Key path below the test key ("" for the test key itself) and value name.
using ValueKey = std::pair<std::wstring, std::wstring>;
using ValueMap = std::map<ValueKey, StoredValue>;

StoredValue StringValue(const std::string& strData) {
    return {REG_SZ, AnsiToWide(strData) + L'\0'};
}

// Every value of the key and of all keys below it.
void CollectValues(HKEY hKey, const std::wstring& path, ValueMap& values) {
    DWORD nSubKeys = 0, nMaxSubKey = 0, nValues = 0, nMaxName = 0;
    ASSERT_EQ(RegQueryInfoKeyW(hKey, nullptr, nullptr, nullptr, &nSubKeys, &nMaxSubKey, nullptr,
                               &nValues, &nMaxName, nullptr, nullptr, nullptr),
              ERROR_SUCCESS);
    for (DWORD i = 0; i < nValues; ++i) {
        std::wstring name(nMaxName + 1, L'\0');
        DWORD nName = nMaxName + 1;
        ASSERT_EQ(RegEnumValueW(hKey, i, name.data(), &nName, nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
        name.resize(nName);
        DWORD nType = 0, cbData = 0;
        ASSERT_EQ(RegQueryValueExW(hKey, name.c_str(), nullptr, &nType, nullptr, &cbData),
                  ERROR_SUCCESS);
        std::wstring data(cbData / sizeof(wchar_t), L'\0');
        ASSERT_EQ(RegQueryValueExW(hKey, name.c_str(), nullptr, &nType,
                                   reinterpret_cast<BYTE*>(data.data()), &cbData),
                  ERROR_SUCCESS);
        EXPECT_EQ(cbData % sizeof(wchar_t), 0u) << "odd data size";
        values[{path, name}] = {nType, data};
    }
    for (DWORD i = 0; i < nSubKeys; ++i) {
        std::wstring name(nMaxSubKey + 1, L'\0');
        DWORD nName = nMaxSubKey + 1;
        ASSERT_EQ(RegEnumKeyExW(hKey, i, name.data(), &nName, nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
        name.resize(nName);
        HKEY hSub = nullptr;
        ASSERT_EQ(RegOpenKeyExW(hKey, name.c_str(), 0, KEY_READ, &hSub), ERROR_SUCCESS);
        CollectValues(hSub, path + L"\\" + name, values);
        RegCloseKey(hSub);
    }
}

// A file name with a blank in the temporary folder, removed at the end.
class CScriptFile {
public:
    explicit CScriptFile(const std::string& strName) {
        char szFolder[MAX_PATH + 1] = "";
        GetTempPathA(MAX_PATH, szFolder);
        m_strPath = std::string(szFolder) + "Quillon " + strName + " " +
                    std::to_string(GetCurrentProcessId()) + ".reg";
    }
    ~CScriptFile() { DeleteFileA(m_strPath.c_str()); }
    CScriptFile(const CScriptFile&) = delete;
    CScriptFile& operator=(const CScriptFile&) = delete;

    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

// One value line of a file: key below the test key, name, data.
struct Entry {
    std::string strSubKey; // "" or starting with a backslash
    std::string strName;
    bool bUnnamed;
    std::string strData;
};

// The export as the program makes it from found rows: rows whose name no
// line can hold are left out; the change file has the text replaced.
struct ExportTexts {
    std::string strFind, strFindShort, strReplace, strReplaceShort;
};

void WriteRows(const std::string& strPath, const std::vector<ResultRow>& rows,
               const ExportTexts* pChange) {
    CRegistryScriptWriter writer;
    ASSERT_TRUE(writer.Open(strPath));
    for (const ResultRow& row : rows) {
        if (!CanWriteName(row.strValueName))
            continue;
        std::string strData = row.strValueData;
        if (pChange)
            strData = ReplaceFoundText(strData, pChange->strFind, pChange->strFindShort,
                                       pChange->strReplace, pChange->strReplaceShort)
                          .strNewData;
        writer.WriteKeyLine(row.strRootKey, row.strKeyPath);
        writer.WriteValueLine(row.strValueName, (row.nFlags & kRowUnnamedValue) != 0, strData);
    }
    ASSERT_TRUE(writer.Close());
}

} // namespace

class RegeditImport : public WalkTest {
protected:
    ValueMap RegistryValues() {
        ValueMap values;
        CollectValues(m_key.Handle(), L"", values);
        return values;
    }

    static void ExpectSameValues(const ValueMap& actual, const ValueMap& expected) {
        for (const auto& [where, value] : expected) {
            auto it = actual.find(where);
            if (it == actual.end())
                ADD_FAILURE() << "missing: " << Describe(where);
            else
                EXPECT_EQ(it->second, value) << Describe(where);
        }
        for (const auto& [where, value] : actual)
            EXPECT_TRUE(expected.count(where))
                << "unexpected: " << Describe(where) << " = " << value;
    }

    static std::string Describe(const ValueKey& where) {
        std::string strPath, strName;
        WideToAnsi(where.first, strPath);
        WideToAnsi(where.second, strName);
        return "[test key" + strPath + "] \"" + strName + "\"";
    }
};

TEST_F(RegeditImport, HostileNamesAndDataComeBackExactly) {
    ASSERT_EQ(GetACP(), 1252u) << "the test process must run under code page 1252";
    using namespace std::string_literals;
    std::string strLong;
    while (strLong.size() < 10000)
        strLong += "C:\\Old \"quoted\"\\";
    std::string strLongLines;
    while (strLongLines.size() < 3000)
        strLongLines += "line \"one\"\\\r\nline two\nthree\r";
    const std::string strDeep = "\\Deep\\Level 2\\Ni\xe9ve 3\\4";
    const Entry entries[] = {
        {"", "", true, "c:\\old"},
        {"", "(Default)", false, "a real value named (Default)"},
        {"", "@", false, "a value named @"},
        {"", "Quote\"Name\"", false, "say \"hi\""},
        {"", "Back\\Slash\\", false, "C:\\Old\\bin\\"},
        {"", "Slash\\\"Quote", false, "a\\\"b\\\\\"c"},
        {"", "\\\\unc", false, "\\\\server\\share\\"},
        {"", "\"", false, "\""},
        {"", "\\", false, "\\"},
        {"", "CrLf", false, "one\r\ntwo\r\n"},
        {"", "Lf", false, "\nline feed first"},
        {"", "Cr", false, "carriage\rreturn"},
        {"", "Nul", false, "before\0after"s},
        {"", "Caf\xe9 \xc9t\xe9", false, "C:\\Caf\xe9\\\xc0 jour \xff\x80 gar\xe7on"},
        {"", "Empty", false, ""},
        {"", "Blanks", false, "  leading and trailing \t "},
        {"", "= ; [x] #", false, "[HKEY_CURRENT_USER\\Not A Key]"},
        {strDeep, "", true, strLong},
        {strDeep, "Long lines", false, strLongLines},
        {"\\(Default)", "(default)", false, "key and value named (default)"},
        {"", "After the deep key", false, "the key line repeats"},
    };

    CScriptFile file("hostile");
    {
        CRegistryScriptWriter writer;
        ASSERT_TRUE(writer.Open(file.Path()));
        for (const Entry& e : entries) {
            ASSERT_TRUE(CanWriteName(e.strName));
            writer.WriteKeyLine("hkey_current_user", m_key.KeyPath() + e.strSubKey);
            writer.WriteValueLine(e.strName, e.bUnnamed, e.strData);
        }
        ASSERT_TRUE(writer.Close());
    }
    ImportSilently(file.Path());

    ValueMap expected;
    for (const Entry& e : entries)
        expected[{AnsiToWide(e.strSubKey), AnsiToWide(e.strName)}] = StringValue(e.strData);
    ExpectSameValues(RegistryValues(), expected);
}

// What the user does: search, export, import the change file, and import
// the backup to undo it.
TEST_F(RegeditImport, ChangeFileReplacesAndBackupRestoresTheFoundValues) {
    ASSERT_EQ(GetACP(), 1252u) << "the test process must run under code page 1252";
    const Entry before[] = {
        {"", "", true, "c:\\old"},
        {"", "InstallDir", false, "C:\\Old\\bin \"x\""},
        {"\\Tools", "Path", false, "C:\\OLD\\tools;c:\\old~1\\x\r\nc:\\Old"},
        {"\\Tools", "Untouched", false, "C:\\Other"},
        {"\\Tools", "(Default)", false, "C:\\Old\\"},
    };
    for (const Entry& e : before)
        m_key.SetString(AnsiToWide(e.strSubKey.empty() ? "" : e.strSubKey.substr(1)),
                        AnsiToWide(e.strName), AnsiToWide(e.strData));
    ASSERT_TRUE(Walk("C:\\Old", "C:\\OLD~1"));
    const std::vector<ResultRow> rows = m_windows.Rows();
    ASSERT_EQ(rows.size(), 4u);

    CScriptFile backup("backup");
    CScriptFile change("change");
    WriteRows(backup.Path(), rows, nullptr);
    const ExportTexts texts{"C:\\Old", "C:\\OLD~1", "D:\\New", "D:\\NEW~1"};
    WriteRows(change.Path(), rows, &texts);

    ValueMap original;
    for (const Entry& e : before)
        original[{AnsiToWide(e.strSubKey), AnsiToWide(e.strName)}] = StringValue(e.strData);
    ValueMap changed = original;
    changed[{L"", L""}] = StringValue("D:\\New");
    changed[{L"", L"InstallDir"}] = StringValue("D:\\New\\bin \"x\"");
    changed[{L"\\Tools", L"Path"}] = StringValue("D:\\New\\tools;D:\\NEW~1\\x\r\nD:\\New");
    changed[{L"\\Tools", L"(Default)"}] = StringValue("D:\\New\\");

    ImportSilently(change.Path());
    ExpectSameValues(RegistryValues(), changed);
    ImportSilently(backup.Path());
    ExpectSameValues(RegistryValues(), original);
}
