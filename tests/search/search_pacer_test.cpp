#include "search/walk_fixture.h"

#include "search/search_pacer.h"

// A walk with a pacer whose interval never passes during the test: only the
// first key's texts go at once, and the flush at the end sends the last
// key's, so the panes end exactly where an unpaced walk leaves them.
TEST_F(WalkTest, PacedWalkShowsTheFirstAndTheLastKeyAndKeepsEveryRow) {
    m_key.SetString(L"A", L"InA", L"C:\\Old\\a");
    m_key.SetString(L"A\\Deep", L"InDeep", L"C:\\Old\\deep");
    m_key.SetString(L"B", L"InB", L"C:\\Old\\b");
    m_key.CreateSubKey(L"C");

    CSearchPacer pacer(kMsgAppendRows, 60 * 1000);
    EXPECT_TRUE(RecurseRegistry(m_windows.Notify(), m_windows.List(), kMsgKeyCount, kMsgKeyPath,
                                &m_bSearching, "C:\\Old", "", "HKEY_CURRENT_USER",
                                m_key.KeyPath(), m_key.Handle(), &m_nKeyCount,
                                RegistryOps::Real(), &pacer));
    const std::vector<ReceivedText> firstOnly = {
        {kMsgKeyCount, "0 Keys Proceeded."}, {kMsgKeyPath, "HKEY_CURRENT_USER" + Under("\\A")}};
    EXPECT_EQ(m_windows.m_received, firstOnly);
    EXPECT_TRUE(m_windows.Rows().empty()) << "rows wait for the interval, or the end";

    pacer.Flush(m_windows.Notify(), kMsgKeyCount, kMsgKeyPath);
    const std::vector<ReceivedText> withLast = {
        {kMsgKeyCount, "0 Keys Proceeded."},
        {kMsgKeyPath, "HKEY_CURRENT_USER" + Under("\\A")},
        {kMsgKeyCount, "3 Keys Proceeded."},
        {kMsgKeyPath, "HKEY_CURRENT_USER" + Under("\\C")}};
    EXPECT_EQ(m_windows.m_received, withLast);
    EXPECT_EQ(m_nKeyCount, 4);
    EXPECT_EQ(RowPaths(), (std::vector<std::string>{Under("\\A"), Under("\\A\\Deep"), Under("\\B")}));
}

TEST_F(WalkTest, PacerSendsNothingMoreWhenTheLastTextsAlreadyWent) {
    m_key.CreateSubKey(L"Only");
    CSearchPacer pacer(kMsgAppendRows, 60 * 1000);
    EXPECT_TRUE(RecurseRegistry(m_windows.Notify(), m_windows.List(), kMsgKeyCount, kMsgKeyPath,
                                &m_bSearching, "C:\\Old", "", "HKEY_CURRENT_USER",
                                m_key.KeyPath(), m_key.Handle(), &m_nKeyCount,
                                RegistryOps::Real(), &pacer));
    pacer.Flush(m_windows.Notify(), kMsgKeyCount, kMsgKeyPath);
    EXPECT_EQ(m_windows.Texts(kMsgKeyPath),
              std::vector<std::string>{"HKEY_CURRENT_USER" + Under("\\Only")});
}

TEST_F(WalkTest, PacedTextsGoAgainOnceTheIntervalHasPassed) {
    m_key.CreateSubKey(L"A");
    m_key.CreateSubKey(L"B");
    CSearchPacer pacer(kMsgAppendRows, 1);
    RegistryOps ops = RegistryOps::Real();
    ops.OpenKey = [](HKEY hKey, const wchar_t* pszName, REGSAM nAccess, HKEY* phKey) {
        Sleep(20); // more than the interval between two keys
        return RegistryOps::Real().OpenKey(hKey, pszName, nAccess, phKey);
    };
    EXPECT_TRUE(RecurseRegistry(m_windows.Notify(), m_windows.List(), kMsgKeyCount, kMsgKeyPath,
                                &m_bSearching, "C:\\Old", "", "HKEY_CURRENT_USER",
                                m_key.KeyPath(), m_key.Handle(), &m_nKeyCount, ops, &pacer));
    EXPECT_EQ(m_windows.Texts(kMsgKeyCount),
              (std::vector<std::string>{"0 Keys Proceeded.", "1 Keys Proceeded."}));
}
