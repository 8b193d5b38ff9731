#include "search/walk_fixture.h"

#include <map>

// Each test builds the tree A, B, C below the test key, each subkey with a
// matching value, and shows what a fault at B does to the rest of the walk.
class WalkerFaultTest : public WalkTest {
protected:
    void SetUp() override {
        for (const wchar_t* name : {L"A", L"B", L"C"})
            m_key.SetString(name, L"Path", L"C:\\Old");
        m_key.SetString(L"B\\Below", L"Path", L"C:\\Old");
    }

    // Wraps the real operations and remembers which subkey each opened
    // handle belongs to, so a fault can be aimed at one key.
    RegistryOps TrackingOps() {
        RegistryOps ops = RegistryOps::Real();
        ops.OpenKey = [this](HKEY hKey, const wchar_t* pszName, REGSAM nAccess, HKEY* phKey) {
            LONG nResult = RegistryOps::Real().OpenKey(hKey, pszName, nAccess, phKey);
            if (nResult == ERROR_SUCCESS)
                m_names[*phKey] = pszName;
            return nResult;
        };
        return ops;
    }

    std::map<HKEY, std::wstring> m_names;
};

TEST_F(WalkerFaultTest, KeyThatMayBeReadButNotChangedIsSearched) {
    // As for a standard user under HKEY_LOCAL_MACHINE: any request to change
    // B is refused; reading it is allowed.
    RegistryOps ops = RegistryOps::Real();
    ops.OpenKey = [](HKEY hKey, const wchar_t* pszName, REGSAM nAccess, HKEY* phKey) {
        const REGSAM kWriteAccess = KEY_SET_VALUE | KEY_CREATE_SUB_KEY | KEY_CREATE_LINK |
                                    DELETE | WRITE_DAC | WRITE_OWNER;
        if (std::wstring(pszName) == L"B" && (nAccess & kWriteAccess))
            return static_cast<LONG>(ERROR_ACCESS_DENIED);
        return RegistryOps::Real().OpenKey(hKey, pszName, nAccess, phKey);
    };
    EXPECT_TRUE(Walk("C:\\Old", "", ops));
    const std::vector<std::string> expected = {Under("\\A"), Under("\\B"), Under("\\B\\Below"),
                                               Under("\\C")};
    EXPECT_EQ(RowPaths(), expected);
}

TEST_F(WalkerFaultTest, RefusedOpenSkipsThatSubkeyOnly) {
    RegistryOps ops = RegistryOps::Real();
    ops.OpenKey = [](HKEY hKey, const wchar_t* pszName, REGSAM nAccess, HKEY* phKey) {
        if (std::wstring(pszName) == L"B")
            return static_cast<LONG>(ERROR_ACCESS_DENIED);
        return RegistryOps::Real().OpenKey(hKey, pszName, nAccess, phKey);
    };
    EXPECT_TRUE(Walk("C:\\Old", "", ops));
    EXPECT_EQ(RowPaths(), (std::vector<std::string>{Under("\\A"), Under("\\C")}));
    EXPECT_EQ(m_nKeyCount, 2) << "a key that was not opened is neither announced nor counted";
}

TEST_F(WalkerFaultTest, KeyWhoseInformationCannotBeReadIsSkippedAndSiblingsFollow) {
    RegistryOps ops = TrackingOps();
    ops.QueryInfoKey = [this](HKEY hKey, RegistryOps::KeyInfo& info) {
        if (m_names[hKey] == L"B")
            return static_cast<LONG>(ERROR_INVALID_PARAMETER);
        return RegistryOps::Real().QueryInfoKey(hKey, info);
    };
    EXPECT_TRUE(Walk("C:\\Old", "", ops));
    EXPECT_EQ(RowPaths(), (std::vector<std::string>{Under("\\A"), Under("\\C")}));
}

TEST_F(WalkerFaultTest, KeyDeletedWhileTheWalkIsUnderWayIsSkipped) {
    RegistryOps ops = RegistryOps::Real();
    ops.OpenKey = [this](HKEY hKey, const wchar_t* pszName, REGSAM nAccess, HKEY* phKey) {
        LONG nResult = RegistryOps::Real().OpenKey(hKey, pszName, nAccess, phKey);
        if (std::wstring(pszName) == L"B")
            m_key.DeleteSubKey(L"B"); // really deleted, after the walker opened it
        return nResult;
    };
    EXPECT_TRUE(Walk("C:\\Old", "", ops));
    EXPECT_EQ(RowPaths(), (std::vector<std::string>{Under("\\A"), Under("\\C")}));
}

TEST_F(WalkerFaultTest, LongClassNameDoesNotHideTheKey) {
    m_key.DeleteSubKey(L"B");
    m_key.CreateSubKey(L"B", std::wstring(300, L'k'));
    m_key.SetString(L"B", L"Path", L"C:\\Old");
    EXPECT_TRUE(Walk("C:\\Old"));
    EXPECT_EQ(RowPaths(), (std::vector<std::string>{Under("\\A"), Under("\\B"), Under("\\C")}));
}

TEST_F(WalkerFaultTest, ValueThatGrewAfterTheSizesWereReadIsReadWhole) {
    const std::wstring longer = L"C:\\Old\\" + std::wstring(500, L'g');
    RegistryOps ops = TrackingOps();
    ops.QueryInfoKey = [&](HKEY hKey, RegistryOps::KeyInfo& info) {
        LONG nResult = RegistryOps::Real().QueryInfoKey(hKey, info);
        if (m_names[hKey] == L"B")
            m_key.SetString(L"B", L"Path", longer); // grows after its size was read
        return nResult;
    };
    EXPECT_TRUE(Walk("C:\\Old", "", ops));
    const std::vector<ResultRow> rows = m_windows.Rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_EQ(rows[1].strKeyPath, Under("\\B"));
    EXPECT_EQ(rows[1].strValueData, std::string(longer.begin(), longer.end()));
}

TEST_F(WalkerFaultTest, FailedValueEnumerationSkipsThatIndexOnly) {
    m_key.SetString(L"B", L"Second", L"C:\\Old\\2");
    RegistryOps ops = TrackingOps();
    ops.EnumValue = [this](HKEY hKey, DWORD nIndex, wchar_t* pszName, DWORD* pcchName,
                           DWORD* pnType, BYTE* pData, DWORD* pcbData) {
        if (m_names[hKey] == L"B" && nIndex == 0)
            return static_cast<LONG>(ERROR_NO_MORE_ITEMS);
        return RegistryOps::Real().EnumValue(hKey, nIndex, pszName, pcchName, pnType, pData,
                                             pcbData);
    };
    EXPECT_TRUE(Walk("C:\\Old", "", ops));
    EXPECT_EQ(RowPaths(), (std::vector<std::string>{Under("\\A"), Under("\\B"), Under("\\B\\Below"),
                                                    Under("\\C")}));
}

TEST_F(WalkerFaultTest, FailedSubkeyEnumerationSkipsThatIndexOnly) {
    RegistryOps ops = RegistryOps::Real();
    ops.EnumKey = [this](HKEY hKey, DWORD nIndex, wchar_t* pszName, DWORD* pcchName) {
        if (hKey == m_key.Handle() && nIndex == 1)
            return static_cast<LONG>(ERROR_NO_MORE_ITEMS);
        return RegistryOps::Real().EnumKey(hKey, nIndex, pszName, pcchName);
    };
    EXPECT_TRUE(Walk("C:\\Old", "", ops));
    EXPECT_EQ(RowPaths(), (std::vector<std::string>{Under("\\A"), Under("\\C")}));
}

TEST_F(WalkerFaultTest, VanishedWindowEndsTheWalk) {
    RegistryOps ops = RegistryOps::Real();
    ops.OpenKey = [this](HKEY hKey, const wchar_t* pszName, REGSAM nAccess, HKEY* phKey) {
        if (std::wstring(pszName) == L"B")
            DestroyWindow(m_windows.Notify());
        return RegistryOps::Real().OpenKey(hKey, pszName, nAccess, phKey);
    };
    EXPECT_FALSE(Walk("C:\\Old", "", ops));
    EXPECT_EQ(RowPaths(), std::vector<std::string>{Under("\\A")});
    EXPECT_EQ(m_nKeyCount, 2) << "B was announced and counted, then nothing more";
}

// Names and data that code page 1252 cannot hold: the walk reaches them and
// marks the rows, so that an export can leave them out instead of writing '?'.
TEST_F(WalkerFaultTest, TextsThatLoseCharactersAreWalkedAndMarked) {
    m_key.SetString(L"Caf\u0101", L"Path", L"C:\\Old");          // a with macron
    m_key.SetString(L"\u03a9\\Deeper", L"Path", L"C:\\Old");     // Omega, one level up
    m_key.SetString(L"C", L"N\u03a9me", L"C:\\Old");             // in the value name
    m_key.SetString(L"C", L"Data", L"C:\\Old\\\u0101");          // in the data
    using namespace std::string_literals;
    m_key.SetString(L"C", L"AfterNul", L"C:\\Old\0tail"s);      // more data after a NUL
    EXPECT_TRUE(Walk("C:\\Old"));

    std::map<std::string, unsigned> flagsByRow;
    for (const ResultRow& row : m_windows.Rows())
        flagsByRow[row.strKeyPath + "|" + row.strValueName + "|" + row.strValueData] = row.nFlags;
    const std::map<std::string, unsigned> expected = {
        {Under("\\A|Path|C:\\Old"), 0},
        {Under("\\B|Path|C:\\Old"), 0},
        {Under("\\B\\Below|Path|C:\\Old"), 0},
        {Under("\\C|Path|C:\\Old"), 0},
        {Under("\\C|N?me|C:\\Old"), kRowNameLost},
        {Under("\\C|Data|C:\\Old\\?"), kRowDataLost},
        {Under("\\C|AfterNul|C:\\Old"), kRowDataAfterNul},
        {Under("\\Caf?|Path|C:\\Old"), kRowKeyPathLost},
        {Under("\\?\\Deeper|Path|C:\\Old"), kRowKeyPathLost},
    };
    EXPECT_EQ(flagsByRow, expected);
}
