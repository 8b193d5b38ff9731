#include "search/walk_fixture.h"

#include "app/main_frame.h"
#include "platform/wide_text.h"
#include "results/result_list.h"
#include "support/temp_folder.h"

namespace {

struct MatchCase {
    const char* pszWhat;
    std::string strFind;
    DWORD nType;
    std::wstring data; // stored as it stands, NULs included, plus a final NUL
    bool bMatches;
};

} // namespace

TEST_F(WalkTest, ListsOnlyStringValuesWhoseDataHoldsTheFindText) {
    using namespace std::string_literals;
    const MatchCase cases[] = {
        {"small find text, capital data", "c:\\old", REG_SZ, L"X;C:\\OLD\\BIN", true},
        {"capital find text, small data", "C:\\OLD", REG_SZ, L"c:\\old\\bin", true},
        {"accented small in find, capital in data", "C:\\Caf\xe9", REG_SZ, L"c:\\CAF\u00c9\\x",
         true},
        {"accented capital in find, small in data", "C:\\CAF\xc9", REG_SZ, L"c:\\caf\u00e9", true},
        {"expandable string", "C:\\Old", REG_EXPAND_SZ, L"C:\\Old\\bin", false},
        {"multi-string", "C:\\Old", REG_MULTI_SZ, L"C:\\Old\0"s, false},
        {"find text after an embedded NUL", "C:\\Old", REG_SZ, L"abc\0C:\\Old"s, false},
        {"data that begins with a NUL", "C:\\Old", REG_SZ, L"\0C:\\Old"s, false},
        {"empty data", "C:\\Old", REG_SZ, L"", false},
        {"find text inside a longer name", "C:\\Old", REG_SZ, L"C:\\Older", true},
        {"no occurrence", "C:\\Old", REG_SZ, L"C:\\Ol d", false},
    };
    for (const MatchCase& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        m_key.SetValue(L"", L"Value", c.nType, c.data.c_str(),
                       static_cast<DWORD>((c.data.size() + 1) * sizeof(wchar_t)));
        CResultList(m_windows.List()).DeleteAllRows();
        EXPECT_TRUE(Walk(c.strFind));
        const std::vector<ResultRow> rows = m_windows.Rows();
        ASSERT_EQ(rows.size(), c.bMatches ? 1u : 0u);
        if (c.bMatches) {
            std::string strData;
            WideToAnsi(c.data, strData);
            EXPECT_EQ(rows[0].strValueData, strData) << "the data stays in its own case";
            EXPECT_EQ(rows[0].nCheck, 1);
        }
    }
}

TEST_F(WalkTest, NameThatHoldsTheFindTextIsNoMatch) {
    m_key.SetString(L"", L"C:\\Old", L"elsewhere");
    m_key.SetString(L"C:\\Old", L"", L"elsewhere");
    EXPECT_TRUE(Walk("C:\\Old"));
    EXPECT_TRUE(m_windows.Rows().empty());
}

TEST_F(WalkTest, ShortFormOfARealFolderMatchesInAnyCase) {
    CTempFolder folder;
    std::string strShort;
    CMainFrame::GetShortPath(folder.Path(), strShort);
    ASSERT_FALSE(strShort.empty());
    std::string strSmall = strShort;
    CharLowerBuffA(strSmall.data(), static_cast<DWORD>(strSmall.size()));
    m_key.SetString(L"", L"Short", AnsiToWide(strSmall + "\\bin\\tool.exe"));

    EXPECT_TRUE(Walk(folder.Path()));
    EXPECT_TRUE(m_windows.Rows().empty()) << "without its short form the value is not found";

    EXPECT_TRUE(Walk(folder.Path(), strShort));
    const std::vector<ResultRow> rows = m_windows.Rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows[0].strValueName, "Short");
}

TEST_F(WalkTest, RelativeFindTextMatchesThroughItsShortForm) {
    CTempFolder folder;
    char szOld[MAX_PATH + 1] = "";
    GetCurrentDirectoryA(MAX_PATH, szOld);
    SetCurrentDirectoryA(folder.Parent().c_str());
    std::string strShort;
    CMainFrame::GetShortPath(folder.Name(), strShort);
    SetCurrentDirectoryA(szOld);
    ASSERT_FALSE(strShort.empty());
    m_key.SetString(L"", L"Relative", AnsiToWide("run " + strShort + " now"));

    EXPECT_TRUE(Walk(folder.Name(), strShort));
    EXPECT_EQ(m_windows.Rows().size(), 1u);
}

TEST_F(WalkTest, KeyValuesComeBeforeSubkeysAndSubkeysInIndexOrder) {
    m_key.SetString(L"", L"Top", L"C:\\Old\\top");
    m_key.SetString(L"A", L"InA", L"C:\\Old\\a");
    m_key.SetString(L"A\\Deep", L"InDeep", L"C:\\Old\\deep");
    m_key.SetString(L"B", L"InB", L"C:\\Old\\b");
    m_key.SetString(L"", L"Top2", L"C:\\Old\\top2");

    EXPECT_TRUE(Walk("C:\\Old"));
    const std::vector<std::string> expected = {m_key.KeyPath(), m_key.KeyPath(), Under("\\A"),
                                               Under("\\A\\Deep"), Under("\\B")};
    EXPECT_EQ(RowPaths(), expected);
    for (const ResultRow& row : m_windows.Rows())
        EXPECT_EQ(row.strRootKey, "HKEY_CURRENT_USER");
}

TEST_F(WalkTest, ValuesOfTheRootKeyHaveAnEmptyKeyPath) {
    // Walked as if the test key were a root key itself.
    m_key.SetString(L"", L"Top", L"C:\\Old");
    m_key.SetString(L"Sub", L"Below", L"C:\\Old");
    EXPECT_TRUE(RecurseRegistry(m_windows.Notify(), m_windows.List(), kMsgKeyCount, kMsgKeyPath,
                                &m_bSearching, "C:\\Old", "", "HKEY_USERS", "", m_key.Handle(),
                                &m_nKeyCount));
    EXPECT_EQ(RowPaths(), (std::vector<std::string>{"", "\\Sub"}));
    EXPECT_EQ(m_windows.Texts(kMsgKeyPath), std::vector<std::string>{"HKEY_USERS\\Sub"});
}

TEST_F(WalkTest, UnnamedValueAndAValueNamedDefaultLookAlikeButAreMarked) {
    m_key.SetString(L"", L"", L"C:\\Old\\unnamed");
    m_key.SetString(L"", L"(Default)", L"C:\\Old\\named");
    EXPECT_TRUE(Walk("C:\\Old"));
    std::vector<ResultRow> rows = m_windows.Rows();
    ASSERT_EQ(rows.size(), 2u);
    for (const ResultRow& row : rows) {
        EXPECT_EQ(row.strValueName, "(Default)");
        const bool bUnnamed = row.strValueData == "C:\\Old\\unnamed";
        EXPECT_EQ((row.nFlags & kRowUnnamedValue) != 0, bUnnamed) << row.strValueData;
        EXPECT_EQ(row.nFlags & kRowAnyTextLost, 0u);
    }
}

TEST_F(WalkTest, AnnouncesEachKeyBeforeEnteringItAndCountsOnAcrossWalks) {
    m_key.CreateSubKey(L"A\\Deep");
    m_key.CreateSubKey(L"B");

    EXPECT_TRUE(Walk("C:\\Old"));
    const std::vector<ReceivedText> expected = {
        {kMsgKeyCount, "0 Keys Proceeded."}, {kMsgKeyPath, "HKEY_CURRENT_USER" + Under("\\A")},
        {kMsgKeyCount, "1 Keys Proceeded."}, {kMsgKeyPath, "HKEY_CURRENT_USER" + Under("\\A\\Deep")},
        {kMsgKeyCount, "2 Keys Proceeded."}, {kMsgKeyPath, "HKEY_CURRENT_USER" + Under("\\B")},
    };
    EXPECT_EQ(m_windows.m_received, expected);
    EXPECT_EQ(m_nKeyCount, 3);

    // A second walk that shares the counter, as the next root key does.
    m_windows.m_received.clear();
    EXPECT_TRUE(Walk("C:\\Old"));
    EXPECT_EQ(m_windows.Texts(kMsgKeyCount).front(), "3 Keys Proceeded.");
    EXPECT_EQ(m_nKeyCount, 6);
}

TEST_F(WalkTest, ZeroMessageNumbersSendNothing) {
    m_key.CreateSubKey(L"A");
    EXPECT_TRUE(RecurseRegistry(m_windows.Notify(), m_windows.List(), 0, 0, &m_bSearching,
                                "C:\\Old", "", "HKEY_CURRENT_USER", m_key.KeyPath(),
                                m_key.Handle(), &m_nKeyCount));
    EXPECT_TRUE(m_windows.m_received.empty());
    EXPECT_EQ(m_nKeyCount, 1);
}

TEST_F(WalkTest, RefusesToWalkWithoutWhatItNeeds) {
    m_key.SetString(L"", L"Value", L"C:\\Old");
    HWND hWndGone = CreateWindowA("STATIC", "", 0, 0, 0, 1, 1, nullptr, nullptr, nullptr, nullptr);
    DestroyWindow(hWndGone);
    struct Case {
        const char* pszWhat;
        bool bNullFlag;
        std::string strFind, strRootKey;
        HWND hWndNotify, hWndList;
        HKEY hKey;
    } cases[] = {
        {"no run flag", true, "C:\\Old", "HKEY_CURRENT_USER", m_windows.Notify(),
         m_windows.List(), m_key.Handle()},
        {"empty find text", false, "", "HKEY_CURRENT_USER", m_windows.Notify(), m_windows.List(),
         m_key.Handle()},
        {"notify window gone", false, "C:\\Old", "HKEY_CURRENT_USER", hWndGone, m_windows.List(),
         m_key.Handle()},
        {"list window gone", false, "C:\\Old", "HKEY_CURRENT_USER", m_windows.Notify(), hWndGone,
         m_key.Handle()},
        {"empty root key name", false, "C:\\Old", "", m_windows.Notify(), m_windows.List(),
         m_key.Handle()},
        {"no key", false, "C:\\Old", "HKEY_CURRENT_USER", m_windows.Notify(), m_windows.List(),
         nullptr},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        EXPECT_FALSE(RecurseRegistry(c.hWndNotify, c.hWndList, kMsgKeyCount, kMsgKeyPath,
                                     c.bNullFlag ? nullptr : &m_bSearching, c.strFind, "",
                                     c.strRootKey, m_key.KeyPath(), c.hKey, &m_nKeyCount));
    }
    EXPECT_TRUE(m_windows.Rows().empty());
    EXPECT_TRUE(m_windows.m_received.empty());
}

TEST_F(WalkTest, StoppedSearchWalksNothing) {
    m_key.SetString(L"", L"Value", L"C:\\Old");
    m_key.CreateSubKey(L"A");
    m_bSearching = 0;
    EXPECT_TRUE(Walk("C:\\Old"));
    EXPECT_TRUE(m_windows.Rows().empty());
    EXPECT_TRUE(m_windows.m_received.empty());
}

TEST_F(WalkTest, StopDuringTheWalkUnwindsWithoutDescending) {
    m_key.SetString(L"", L"Top", L"C:\\Old");
    m_key.SetString(L"A", L"InA", L"C:\\Old");
    m_key.SetString(L"A\\Deep", L"InDeep", L"C:\\Old");
    m_key.SetString(L"B", L"InB", L"C:\\Old");
    m_key.CreateSubKey(L"C");

    // The close request arrives while the walker opens A.
    RegistryOps ops = RegistryOps::Real();
    ops.OpenKey = [&](HKEY hKey, const wchar_t* pszName, REGSAM nAccess, HKEY* phKey) {
        if (std::wstring(pszName) == L"A")
            m_bSearching = 0;
        return RegistryOps::Real().OpenKey(hKey, pszName, nAccess, phKey);
    };
    EXPECT_TRUE(Walk("C:\\Old", "", ops));

    EXPECT_EQ(RowPaths(), std::vector<std::string>{m_key.KeyPath()});
    // The remaining siblings are still announced and counted, but not entered.
    const std::vector<std::string> expected = {"HKEY_CURRENT_USER" + Under("\\A"),
                                               "HKEY_CURRENT_USER" + Under("\\B"),
                                               "HKEY_CURRENT_USER" + Under("\\C")};
    EXPECT_EQ(m_windows.Texts(kMsgKeyPath), expected);
    EXPECT_EQ(m_nKeyCount, 3);
}
