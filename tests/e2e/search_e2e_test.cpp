// Quillon.exe run as a user runs it: a process of its own, driven only from
// outside through its windows (menu keys, the dialog's fields, its boxes),
// and judged by what its windows show.
#include "platform/wide_text.h"
#include "support/box_answerer.h"
#include "support/remote_quillon.h"
#include "support/test_key.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace {

const char kSearchOptions[] = "Search Options";
const char kSearchEnded[] = "Search Through the Registry is Terminated.";
const char kPleaseWait[] = "Please Wait Until The Search Is Terminated.";
constexpr int kFindWhatId = 1003;
constexpr int kReplaceWithId = 1004;
// A whole-registry search under Wine takes seconds; the waits are generous.
constexpr DWORD kSearchTimeout = 120000;

// A row as one line, so that a failure shows the whole list readably.
std::string Line(const ResultRow& row) {
    return row.strRootKey + " | " + row.strKeyPath + " | " + row.strValueName + " | " +
           row.strValueData + " | image " + std::to_string(row.nCheck);
}

std::vector<std::string> Lines(const std::vector<ResultRow>& rows) {
    std::vector<std::string> lines;
    for (const ResultRow& row : rows)
        lines.push_back(Line(row));
    return lines;
}

// The program started on a test key of its own, and a user who answers its
// dialog and boxes: the search dialog gets the two texts and OK, every
// message box gets OK.
class SearchEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        // No other value of the registry holds this text.
        m_strFind = std::string("Q:\\Quillon E2E\\") + info->name();
    }

    void StartAndSearch() {
        ASSERT_TRUE(m_quillon.Start()) << m_quillon.Error();
        m_answerer = std::make_unique<CBoxAnswerer>(
            [this](const CBoxAnswerer::Box& box) { return Answer(box); }, m_quillon.ProcessId());
        ASSERT_TRUE(m_quillon.ChooseToolSearch()) << "the Tool menu did not open";
    }

    int Answer(const CBoxAnswerer::Box& box) {
        if (box.strCaption == kSearchOptions) {
            SendDlgItemMessageA(box.hWnd, kFindWhatId, WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>(m_strFind.c_str()));
            SendDlgItemMessageA(box.hWnd, kReplaceWithId, WM_SETTEXT, 0,
                                reinterpret_cast<LPARAM>("R:\\Moved Elsewhere"));
            return IDOK;
        }
        return IDOK;
    }

    // The texts of the message boxes answered so far, in order.
    std::vector<std::string> BoxTexts() const {
        std::vector<std::string> texts;
        for (const CBoxAnswerer::Box& box : m_answerer->Answered())
            if (box.strCaption != kSearchOptions)
                texts.push_back(box.strCaption + ": " + box.strText);
        return texts;
    }

    // Waits until a box with that text was answered.
    bool WaitForBox(const std::string& strText, DWORD nMilliseconds = kSearchTimeout) const {
        const std::string strLine = std::string("Quillon: ") + strText;
        const DWORD nStart = GetTickCount();
        do {
            for (const std::string& text : BoxTexts())
                if (text == strLine)
                    return true;
            Sleep(20);
        } while (GetTickCount() - nStart < nMilliseconds);
        return false;
    }

    ResultRow Row(const std::string& strRootKey, const std::string& strKeyPath,
                  const std::string& strName, const std::string& strData) const {
        ResultRow row;
        row.strRootKey = strRootKey;
        row.strKeyPath = strKeyPath;
        row.strValueName = strName;
        row.strValueData = strData;
        row.nCheck = 1;
        return row;
    }

    CTestKey m_key;
    CRemoteQuillon m_quillon;
    std::unique_ptr<CBoxAnswerer> m_answerer; // goes before the program
    std::string m_strFind;
};

} // namespace

TEST_F(SearchEndToEnd, ListsTheFoundValuesAsCheckedRowsInWalkOrder) {
    std::string strUpper = m_strFind;
    CharUpperBuffA(strUpper.data(), static_cast<DWORD>(strUpper.size()));
    std::string strLower = m_strFind;
    CharLowerBuffA(strLower.data(), static_cast<DWORD>(strLower.size()));
    m_key.SetString(L"", L"Path", AnsiToWide(m_strFind + "\\bin"));
    m_key.SetString(L"", L"Other", L"C:\\Elsewhere");
    m_key.SetString(L"", L"Expanded", AnsiToWide(m_strFind), REG_EXPAND_SZ);
    m_key.SetString(L"B Sub", L"Tool", AnsiToWide(strUpper + "\\TOOL.EXE"));
    m_key.SetString(L"A Sub\\Deeper", L"", AnsiToWide("x;" + strLower));

    StartAndSearch();
    ASSERT_TRUE(WaitForBox(kSearchEnded)) << "the search did not end";

    // The current user's key is also HKEY_USERS\<the user's SID>: the search
    // walks it there a second time.
    std::vector<ResultRow> expected;
    for (const std::string& strPrefix : {std::string(), "\\" + CurrentUserSid()}) {
        const std::string strRoot = strPrefix.empty() ? "HKEY_CURRENT_USER" : "HKEY_USERS";
        const std::string strKey = strPrefix + m_key.KeyPath();
        expected.push_back(Row(strRoot, strKey, "Path", m_strFind + "\\bin"));
        expected.push_back(Row(strRoot, strKey + "\\A Sub\\Deeper", "(Default)", "x;" + strLower));
        expected.push_back(Row(strRoot, strKey + "\\B Sub", "Tool", strUpper + "\\TOOL.EXE"));
    }
    EXPECT_EQ(Lines(m_quillon.Rows()), Lines(expected));
    EXPECT_EQ(BoxTexts(), std::vector<std::string>{std::string("Quillon: ") + kSearchEnded});

    const std::string strCount = m_quillon.PaneText(1);
    const std::string strSuffix = " Keys Proceeded.";
    ASSERT_GT(strCount.size(), strSuffix.size()) << strCount;
    EXPECT_EQ(strCount.substr(strCount.size() - strSuffix.size()), strSuffix) << strCount;
    EXPECT_GT(std::atoi(strCount.c_str()), 6) << "the test's own keys, walked twice, count";
    // The last key entered, by its full name.
    const std::string strPath = m_quillon.PaneText(2);
    bool bFullName = false;
    for (const char* pszRoot : {"HKEY_CLASSES_ROOT\\", "HKEY_CURRENT_USER\\",
                                "HKEY_LOCAL_MACHINE\\", "HKEY_USERS\\", "HKEY_CURRENT_CONFIG\\"})
        bFullName |= strPath.rfind(pszRoot, 0) == 0 && strPath.size() > strlen(pszRoot);
    EXPECT_TRUE(bFullName) << strPath;
}

TEST_F(SearchEndToEnd, CloseDuringASearchWaitsForItsEndAndKeepsTheRows) {
    // The test key's own value is found before its many subkeys are walked,
    // and the rest of the registry after them: the close comes as soon as
    // that first row shows.
    m_key.SetString(L"", L"Found", AnsiToWide(m_strFind));
    HKEY hMany = nullptr;
    ASSERT_EQ(RegCreateKeyExW(m_key.Handle(), L"Many", 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                              &hMany, nullptr),
              ERROR_SUCCESS);
    for (int i = 0; i < 3000; ++i) {
        HKEY hSub = nullptr;
        const std::wstring name = L"Key " + std::to_wstring(10000 + i);
        ASSERT_EQ(
            RegCreateKeyExW(hMany, name.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &hSub, nullptr),
            ERROR_SUCCESS);
        RegCloseKey(hSub);
    }
    RegCloseKey(hMany);
    m_key.SetString(L"Zed", L"AfterMany", AnsiToWide(m_strFind));

    StartAndSearch();
    const DWORD nStart = GetTickCount();
    while (SendMessageA(m_quillon.List(), LVM_GETITEMCOUNT, 0, 0) == 0 &&
           GetTickCount() - nStart < kSearchTimeout)
        Sleep(1);
    PostMessageA(m_quillon.Frame(), WM_CLOSE, 0, 0);

    ASSERT_TRUE(WaitForBox(kPleaseWait, 10000)) << "the close request was not refused";
    ASSERT_TRUE(WaitForBox(kSearchEnded, kSearchTimeout));
    EXPECT_FALSE(m_quillon.WaitForExit(0)) << "the program ended during its search";
    EXPECT_TRUE(IsWindowVisible(m_quillon.Frame()));

    // The rows found before the stop stay: the first one at least, and never
    // those of HKEY_USERS, which the walk reaches only after all of
    // HKEY_LOCAL_MACHINE.
    const std::vector<std::string> full =
        Lines({Row("HKEY_CURRENT_USER", m_key.KeyPath(), "Found", m_strFind),
               Row("HKEY_CURRENT_USER", m_key.KeyPath() + "\\Zed", "AfterMany", m_strFind)});
    const std::vector<std::string> rows = Lines(m_quillon.Rows());
    ASSERT_FALSE(rows.empty());
    ASSERT_LE(rows.size(), full.size()) << testing::PrintToString(rows);
    EXPECT_EQ(rows, std::vector<std::string>(full.begin(), full.begin() + rows.size()));

    // With the search over, a close request ends the program.
    PostMessageA(m_quillon.Frame(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(m_quillon.WaitForExit());
    // The two boxes come from two threads: either may show first.
    std::vector<std::string> texts = BoxTexts();
    std::sort(texts.begin(), texts.end());
    EXPECT_EQ(texts, (std::vector<std::string>{std::string("Quillon: ") + kPleaseWait,
                                               std::string("Quillon: ") + kSearchEnded}));
}
