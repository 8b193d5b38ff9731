#include "export/registry_script_writer.h"

#include "export/replace_found_text.h"
#include "results/result_row.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <vector>

namespace {

// A file name of its own in the temporary folder, removed at the end.
class CTempFile {
public:
    CTempFile() {
        char szFolder[MAX_PATH + 1] = "";
        char szPath[MAX_PATH + 1] = "";
        GetTempPathA(MAX_PATH, szFolder);
        GetTempFileNameA(szFolder, "qrs", 0, szPath);
        m_strPath = szPath;
    }
    ~CTempFile() { DeleteFileA(m_strPath.c_str()); }
    CTempFile(const CTempFile&) = delete;
    CTempFile& operator=(const CTempFile&) = delete;

    const std::string& Path() const { return m_strPath; }

private:
    std::string m_strPath;
};

// Everything a file holds, read the way another program would read it while
// the writer still has it open.
std::string ReadAll(const std::string& strPath) {
    HANDLE hFile = CreateFileA(strPath.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                               nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    EXPECT_NE(hFile, INVALID_HANDLE_VALUE) << strPath;
    std::string strBytes;
    char buffer[4096];
    DWORD nRead = 0;
    while (ReadFile(hFile, buffer, sizeof buffer, &nRead, nullptr) && nRead > 0)
        strBytes.append(buffer, nRead);
    CloseHandle(hFile);
    return strBytes;
}

// The two files of an export, as the program writes them: the backup with
// the data as found, the change file with the text replaced.
void WriteExport(const std::string& strPath, const std::vector<ResultRow>& rows,
                 const std::string* pstrFind = nullptr, const std::string& strReplace = "") {
    CRegistryScriptWriter writer;
    ASSERT_TRUE(writer.Open(strPath));
    for (const ResultRow& row : rows) {
        writer.WriteKeyLine(row.strRootKey, row.strKeyPath);
        const std::string strData =
            pstrFind ? ReplaceFoundText(row.strValueData, *pstrFind, "", strReplace, "").strNewData
                     : row.strValueData;
        writer.WriteValueLine(row.strValueName, (row.nFlags & kRowUnnamedValue) != 0, strData);
    }
    ASSERT_TRUE(writer.Close());
}

struct FieldCase {
    std::string strIn1, strIn2, strOut;
};

} // namespace

TEST(RegistryScriptFields, KeyPathJoinsTheUpperCasedRootAndThePathAsItIs) {
    const FieldCase cases[] = {
        {"HKEY_CURRENT_USER", "\\Software\\Example", "HKEY_CURRENT_USER\\Software\\Example"},
        {"hkey_local_machine", "\\SOFTWARE\\Example", "HKEY_LOCAL_MACHINE\\SOFTWARE\\Example"},
        {"\\HKEY_USERS\\", "\\.DEFAULT\\Software\\", "HKEY_USERS\\.DEFAULT\\Software"},
        {"HKEY_USERS", "Software", "HKEY_USERS\\Software"},
        {"HKEY_CLASSES_ROOT", "", "HKEY_CLASSES_ROOT"},
        {"HKEY_CLASSES_ROOT", "\\", "HKEY_CLASSES_ROOT"},
        {"HKEY_CURRENT_USER", "\\\\Twice\\\\", "HKEY_CURRENT_USER\\\\Twice\\"},
        {"HKEY_CURRENT_USER", "\\MiXeD Case\\caf\xe9 \"q\"",
         "HKEY_CURRENT_USER\\MiXeD Case\\caf\xe9 \"q\""},
    };
    for (const FieldCase& c : cases)
        EXPECT_EQ(MakeKeyPath(c.strIn1, c.strIn2), c.strOut) << c.strIn1 << " " << c.strIn2;
}

TEST(RegistryScriptFields, OnlyTheUnnamedValueIsWrittenAsAt) {
    struct NameCase {
        std::string strName;
        bool bUnnamed;
        std::string strField;
    } cases[] = {
        {"", true, "@"},
        {"", false, "\"\""},
        {"(Default)", false, "\"(Default)\""},
        {"(default)", false, "\"(default)\""},
        {"@", false, "\"@\""},
        {"InstallDir", false, "\"InstallDir\""},
        {"a\\b", false, "\"a\\\\b\""},
        {"say \"hi\"", false, "\"say \\\"hi\\\"\""},
        {"end\\", false, "\"end\\\\\""},
        {"Caf\xe9=1;[x]", false, "\"Caf\xe9=1;[x]\""},
    };
    for (const NameCase& c : cases)
        EXPECT_EQ(MakeNameField(c.strName, c.bUnnamed), c.strField) << c.strName;
}

TEST(RegistryScriptFields, DataIsQuotedOrWrittenAsHexWhenItHoldsALineBreak) {
    const FieldCase cases[] = {
        {"C:\\Old\\bin \"x\"", "", "\"C:\\\\Old\\\\bin \\\"x\\\"\""},
        {"a\\\"b", "", "\"a\\\\\\\"b\""},
        {"\\\\server\\share\\", "", "\"\\\\\\\\server\\\\share\\\\\""},
        {"", "", "\"\""},
        {" \tpadded ", "", "\" \tpadded \""},
        {"\xc0 jour", "", "\"\xc0 jour\""},
        {"a\r\nb", "", "hex(1):61,0d,0a,62,00"},
        {"a\nb", "", "hex(1):61,0a,62,00"},
        {"\r", "", "hex(1):0d,00"},
        {std::string("a\0b", 3), "", "hex(1):61,00,62,00"},
        {"\\\"\n\xe9", "", "hex(1):5c,22,0a,e9,00"},
    };
    for (const FieldCase& c : cases)
        EXPECT_EQ(MakeDataField(c.strIn1), c.strOut) << c.strIn1;
}

TEST(RegistryScriptFields, LongHexDataIsWrappedUnder80Characters) {
    for (size_t nStartColumn : {0, 12, 60, 120}) {
        SCOPED_TRACE(nStartColumn);
        std::string strData(300, 'x');
        strData[150] = '\n';
        const std::string strField = MakeDataField(strData, nStartColumn);

        std::vector<std::string> lines;
        for (size_t nAt = 0;;) {
            const size_t nEnd = strField.find("\r\n", nAt);
            lines.push_back(strField.substr(nAt, nEnd - nAt));
            if (nEnd == std::string::npos)
                break;
            nAt = nEnd + 2;
        }
        ASSERT_GT(lines.size(), 1u);
        std::string strBytes;
        for (size_t i = 0; i < lines.size(); ++i) {
            std::string strLine = lines[i];
            if (i == 0) {
                ASSERT_EQ(strLine.rfind("hex(1):", 0), 0u);
                if (nStartColumn < 70) {
                    EXPECT_LT(nStartColumn + strLine.size(), 80u);
                } else {
                    EXPECT_EQ(strLine, "hex(1):78,\\") << "one byte even after a long name";
                }
                strLine.erase(0, 7);
            } else {
                EXPECT_LT(strLine.size(), 80u);
                ASSERT_EQ(strLine.rfind("  ", 0), 0u) << strLine;
                strLine.erase(0, 2);
            }
            if (i + 1 < lines.size()) {
                ASSERT_GE(strLine.size(), 4u);
                ASSERT_EQ(strLine.substr(strLine.size() - 2), ",\\") << "wrapped after a comma";
                strLine.pop_back();
            }
            strBytes += strLine;
        }
        std::string strExpected;
        for (char ch : strData)
            strExpected += ch == '\n' ? "0a," : "78,";
        EXPECT_EQ(strBytes, strExpected + "00");
    }
}

TEST(RegistryScriptFields, NameOrKeyPathWithALineBreakCannotBeWritten) {
    struct WritableCase {
        std::string strText;
        bool bWritable;
    } cases[] = {
        {"", true},      {"Quote\" Back\\ \xe9 @ (Default) ]", true},
        {"a\nb", false}, {"a\rb", false},
        {"\r\n", false}, {"\\Software\\end\n", false},
    };
    for (const WritableCase& c : cases) {
        EXPECT_EQ(CanWriteName(c.strText), c.bWritable) << c.strText;
        EXPECT_EQ(CanWriteKeyPath(c.strText), c.bWritable) << c.strText;
    }
}

TEST(RegistryScriptWriter, BackupAndChangeFilesHoldExactlyTheirLines) {
    ResultRow installDir{"HKEY_LOCAL_MACHINE", "\\SOFTWARE\\Example", "InstallDir",
                         "C:\\Old\\bin \"x\""};
    ResultRow unnamed{"HKEY_CURRENT_USER", "\\Software\\Example", "", "c:\\old"};
    unnamed.nFlags = kRowUnnamedValue;
    const std::vector<ResultRow> rows = {installDir, unnamed};

    CTempFile backup;
    WriteExport(backup.Path(), rows);
    EXPECT_EQ(ReadAll(backup.Path()), "REGEDIT4\r\n"
                                      "\r\n"
                                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Example]\r\n"
                                      "\"InstallDir\"=\"C:\\\\Old\\\\bin \\\"x\\\"\"\r\n"
                                      "\r\n"
                                      "[HKEY_CURRENT_USER\\Software\\Example]\r\n"
                                      "@=\"c:\\\\old\"\r\n"
                                      "\r\n");

    CTempFile change;
    const std::string strFind = "C:\\Old";
    WriteExport(change.Path(), rows, &strFind, "D:\\New");
    EXPECT_EQ(ReadAll(change.Path()), "REGEDIT4\r\n"
                                      "\r\n"
                                      "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Example]\r\n"
                                      "\"InstallDir\"=\"D:\\\\New\\\\bin \\\"x\\\"\"\r\n"
                                      "\r\n"
                                      "[HKEY_CURRENT_USER\\Software\\Example]\r\n"
                                      "@=\"D:\\\\New\"\r\n"
                                      "\r\n");
}

TEST(RegistryScriptWriter, EveryEntryHasItsOwnKeyLineInTheOrderGiven) {
    ResultRow b{"HKEY_CURRENT_USER", "\\Software\\B", "one", "1"};
    ResultRow a{"HKEY_CURRENT_USER", "\\Software\\A", "two", "2"};
    ResultRow b2{"HKEY_CURRENT_USER", "\\Software\\B", "three", "3"};
    CTempFile file;
    WriteExport(file.Path(), {b, a, b2, b2});
    EXPECT_EQ(ReadAll(file.Path()), "REGEDIT4\r\n\r\n"
                                    "[HKEY_CURRENT_USER\\Software\\B]\r\n\"one\"=\"1\"\r\n\r\n"
                                    "[HKEY_CURRENT_USER\\Software\\A]\r\n\"two\"=\"2\"\r\n\r\n"
                                    "[HKEY_CURRENT_USER\\Software\\B]\r\n\"three\"=\"3\"\r\n\r\n"
                                    "[HKEY_CURRENT_USER\\Software\\B]\r\n\"three\"=\"3\"\r\n\r\n");
}

TEST(RegistryScriptWriter, FileWithoutEntriesIsTheHeaderAlone) {
    CTempFile file;
    {
        HANDLE hFile = CreateFileA(file.Path().c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        DWORD nWritten = 0;
        WriteFile(hFile, "older and longer content", 24, &nWritten, nullptr);
        CloseHandle(hFile);
    }
    WriteExport(file.Path(), {});
    EXPECT_EQ(ReadAll(file.Path()), "REGEDIT4\r\n\r\n");
}

TEST(RegistryScriptWriter, EachLineIsInTheFileAsSoonAsItIsWritten) {
    CTempFile file;
    CRegistryScriptWriter writer;
    ASSERT_TRUE(writer.Open(file.Path()));
    EXPECT_EQ(ReadAll(file.Path()), "REGEDIT4\r\n\r\n");
    writer.WriteKeyLine("HKEY_CURRENT_USER", "\\Software\\Example");
    EXPECT_EQ(ReadAll(file.Path()), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Example]\r\n");
    writer.WriteValueLine("Name", false, "x");
    EXPECT_EQ(ReadAll(file.Path()), "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Example]\r\n"
                                    "\"Name\"=\"x\"\r\n\r\n");
    EXPECT_TRUE(writer.Close());
    EXPECT_FALSE(writer.Close()) << "nothing is open any more";
}

TEST(RegistryScriptWriter, FileThatCannotBeCreatedOrStartedIsReported) {
    const char* paths[] = {
        "C:\\No Such Folder For Quillon\\backup.reg",
        // Linux's always-full device, reached through Wine's path for Unix
        // files: it is created, and the header fails with a full disk.
        "\\\\?\\unix\\dev\\full",
    };
    for (const char* pszPath : paths) {
        SCOPED_TRACE(pszPath);
        CRegistryScriptWriter writer;
        EXPECT_FALSE(writer.Open(pszPath));
        writer.WriteKeyLine("HKEY_CURRENT_USER", "\\Software");
        writer.WriteValueLine("x", false, "y");
        EXPECT_FALSE(writer.Close());
        EXPECT_FALSE(writer.Close());
    }
}

TEST(RegistryScriptWriter, LineThatWouldImportWronglyIsNotWrittenAndMakesCloseFail) {
    struct RefusedCase {
        const char* pszWhat;
        std::string strKeyPath, strName;
    } cases[] = {
        {"key path with a line feed", "\\Software\\a\nb", "Name"},
        {"key path with a carriage return", "\\Software\\a\rb", "Name"},
        {"name with a line feed", "\\Software\\Example", "a\nb"},
        {"name with a carriage return", "\\Software\\Example", "a\rb"},
    };
    for (const RefusedCase& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CTempFile file;
        CRegistryScriptWriter writer;
        ASSERT_TRUE(writer.Open(file.Path()));
        writer.WriteKeyLine("HKEY_CURRENT_USER", "\\Software\\Before");
        writer.WriteValueLine("Before", false, "1");
        writer.WriteKeyLine("HKEY_CURRENT_USER", c.strKeyPath);
        writer.WriteValueLine(c.strName, false, "2");
        writer.WriteKeyLine("HKEY_CURRENT_USER", "\\Software\\After");
        writer.WriteValueLine("After", false, "3");
        EXPECT_FALSE(writer.Close());
        const std::string strBefore =
            "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Before]\r\n\"Before\"=\"1\"\r\n\r\n";
        const std::string strWithKey = strBefore + "[HKEY_CURRENT_USER\\Software\\Example]\r\n";
        EXPECT_EQ(ReadAll(file.Path()), CanWriteKeyPath(c.strKeyPath) ? strWithKey : strBefore);
    }
}

// A pipe stands for a file on a share that goes away: the header and the
// first lines reach the reader, then the reader closes its end and every
// later write fails.
TEST(RegistryScriptWriter, WriteThatFailsAfterTheHeaderMakesCloseFail) {
    const std::string strPipe =
        "\\\\.\\pipe\\QuillonScriptWriter" + std::to_string(GetCurrentProcessId());
    HANDLE hReader = CreateNamedPipeA(strPipe.c_str(), PIPE_ACCESS_INBOUND,
                                      PIPE_TYPE_BYTE | PIPE_READMODE_BYTE | PIPE_WAIT, 1, 65536,
                                      65536, 0, nullptr);
    ASSERT_NE(hReader, INVALID_HANDLE_VALUE);

    CRegistryScriptWriter writer;
    ASSERT_TRUE(writer.Open(strPipe));
    writer.WriteKeyLine("HKEY_CURRENT_USER", "\\Software\\Example");
    const std::string strExpected = "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\Software\\Example]\r\n";
    std::string strRead;
    char buffer[256];
    DWORD nRead = 0;
    while (strRead.size() < strExpected.size() &&
           ReadFile(hReader, buffer, static_cast<DWORD>(strExpected.size() - strRead.size()),
                    &nRead, nullptr))
        strRead.append(buffer, nRead);
    EXPECT_EQ(strRead, strExpected);
    CloseHandle(hReader);

    writer.WriteValueLine("InstallDir", false, "C:\\Old");
    writer.WriteKeyLine("HKEY_CURRENT_USER", "\\Software\\Other");
    EXPECT_FALSE(writer.Close());
}
