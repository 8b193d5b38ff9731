// Quillon.exe run as a user runs it, from the search to the import of the
// change file: driven only from outside, through its menu keys, a mouse click
// on a row's tick, its save dialogs and its boxes; judged by the files and
// the registry.
#include "export/export_fixture.h"
#include "platform/wide_text.h"
#include "support/remote_quillon.h"

#include <gtest/gtest.h>

#include <commctrl.h>

#include <memory>

namespace {

const char kSearchOptions[] = "Search Options";
const char kSearchEnded[] = "Search Through the Registry is Terminated.";
constexpr int kFindWhatId = 1003;
constexpr int kReplaceWithId = 1004;
// A whole-registry search and a run of the registry editor under Wine take
// seconds; the waits are generous.
constexpr DWORD kLongWait = 120000;

// The key data of a posted key message, as the keyboard would give it.
LPARAM KeyData(UINT nVirtualKey, bool bAltDown) {
    LPARAM lParam = 1 | (static_cast<LPARAM>(MapVirtualKeyA(nVirtualKey, MAPVK_VK_TO_VSC)) << 16);
    if (bAltDown)
        lParam |= KF_ALTDOWN << 16;
    return lParam;
}

// Whether the process shows a menu (a window of class #32768).
bool MenuIsOpen(DWORD nProcessId) {
    return FindShownMenu(nProcessId) != nullptr;
}

std::wstring ReadValue(HKEY hKey, const wchar_t* pszSubKey, const wchar_t* pszName) {
    wchar_t data[512] = L"";
    DWORD cbData = sizeof data;
    if (RegGetValueW(hKey, pszSubKey, pszName, RRF_RT_REG_SZ, nullptr, data, &cbData) !=
        ERROR_SUCCESS)
        return L"<unreadable>";
    return data;
}

} // namespace

class ExportEndToEnd : public testing::Test {
protected:
    void SetUp() override {
        const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
        // No other value of the registry holds this text.
        m_strFind = std::string("Q:\\Quillon E2E\\") + info->name();
    }

    // The search dialog gets the two texts; everything else is the export's
    // user.
    int Answer(const CBoxAnswerer::Box& box) {
        if (box.strCaption != kSearchOptions)
            return m_user.Answer(box);
        SendDlgItemMessageA(box.hWnd, kFindWhatId, WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(m_strFind.c_str()));
        SendDlgItemMessageA(box.hWnd, kReplaceWithId, WM_SETTEXT, 0,
                            reinterpret_cast<LPARAM>(m_strReplace.c_str()));
        return IDOK;
    }

    bool Saw(const std::string& strText, DWORD nMilliseconds = kLongWait) const {
        return WaitUntil(
            [&] {
                for (const std::string& strSeen : m_user.Seen())
                    if (strSeen == strText)
                        return true;
                return false;
            },
            nMilliseconds);
    }

    // Opens the Tool menu with Alt+T and chooses the item that answers to
    // the key.
    bool ChooseToolItem(char chKey) const {
        PostMessageA(m_quillon.Frame(), WM_SYSKEYDOWN, 'T', KeyData('T', true));
        if (!WaitUntil([&] { return MenuIsOpen(m_quillon.ProcessId()); }, 10000))
            return false;
        PostMessageA(m_quillon.Frame(), WM_KEYDOWN, chKey, KeyData(chKey, false));
        return true;
    }

    // Clicks the tick of a row with the mouse: the cursor is put on the
    // row's image, then the button goes down and up there.
    void ClickTick(int nRow) const {
        HWND hList = m_quillon.List();
        void* pRemote = VirtualAllocEx(m_quillon.Process(), nullptr, sizeof(RECT),
                                       MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        ASSERT_NE(pRemote, nullptr);
        RECT image{};
        image.left = LVIR_ICON;
        WriteProcessMemory(m_quillon.Process(), pRemote, &image, sizeof image, nullptr);
        SendMessageA(hList, LVM_GETITEMRECT, nRow, reinterpret_cast<LPARAM>(pRemote));
        ReadProcessMemory(m_quillon.Process(), pRemote, &image, sizeof image, nullptr);
        VirtualFreeEx(m_quillon.Process(), pRemote, 0, MEM_RELEASE);
        ASSERT_GT(image.right, image.left) << "row " << nRow << " has no image";

        POINT point{(image.left + image.right) / 2, (image.top + image.bottom) / 2};
        POINT screen = point;
        ClientToScreen(hList, &screen);
        SetCursorPos(screen.x, screen.y);
        PostMessageA(hList, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(point.x, point.y));
        PostMessageA(hList, WM_LBUTTONUP, 0, MAKELPARAM(point.x, point.y));
    }

    std::string File(const std::string& strName) const { return m_folder.File(strName); }

    std::string m_strFind;
    const std::string m_strReplace = "R:\\Moved Elsewhere";
    CTestKey m_key;
    CExportFolder m_folder;
    CExportUser m_user{{File("Backup.reg")}, {File("Backup.reg"), File("Changes.reg")}, IDYES};
    CRemoteQuillon m_quillon;
    std::unique_ptr<CBoxAnswerer> m_answerer; // goes before the program
};

TEST_F(ExportEndToEnd, SearchUncheckExportAndImportChangeTheRegistryAsTheChangeFileSays) {
    std::string strLower = m_strFind;
    CharLowerBuffA(strLower.data(), static_cast<DWORD>(strLower.size()));
    m_key.SetString(L"", L"Keep", AnsiToWide(m_strFind + "\\keep"));
    m_key.SetString(L"", L"Path", AnsiToWide(m_strFind + "\\bin \"x\""));
    m_key.SetString(L"Sub", L"", AnsiToWide("x;" + strLower));

    ASSERT_TRUE(m_quillon.Start()) << m_quillon.Error();
    m_answerer = std::make_unique<CBoxAnswerer>(
        [this](const CBoxAnswerer::Box& box) { return Answer(box); }, m_quillon.ProcessId());
    ASSERT_TRUE(ChooseToolItem('S')) << "the Tool menu did not open";
    ASSERT_TRUE(Saw(kSearchEnded)) << "the search did not end";

    // Each value is found twice: under HKEY_CURRENT_USER and under the
    // user's own key of HKEY_USERS. The user unticks both rows of "Keep".
    std::vector<ResultRow> rows = m_quillon.Rows();
    ASSERT_EQ(rows.size(), 6u);
    std::vector<int> keepRows;
    for (size_t i = 0; i < rows.size(); ++i)
        if (rows[i].strValueName == "Keep")
            keepRows.push_back(static_cast<int>(i));
    ASSERT_EQ(keepRows.size(), 2u);
    for (int nRow : keepRows) {
        ASSERT_NO_FATAL_FAILURE(ClickTick(nRow));
        ASSERT_TRUE(WaitUntil([&] { return m_quillon.Rows()[nRow].nCheck == 0; }, 10000))
            << "the click did not untick row " << nRow;
    }

    ASSERT_TRUE(ChooseToolItem('E')) << "the Tool menu did not open";
    ASSERT_TRUE(Saw(kImportQuestion)) << "the export did not ask to import";
    // The program waits for the registry editor with its frame minimised,
    // and shows it again when the editor has ended.
    const std::wstring newPath = AnsiToWide(m_strReplace + "\\bin \"x\"");
    EXPECT_TRUE(WaitUntil([&] { return ReadValue(m_key.Handle(), nullptr, L"Path") == newPath; },
                          kLongWait));
    EXPECT_TRUE(WaitUntil([&] { return !IsIconic(m_quillon.Frame()); }, kLongWait));

    EXPECT_EQ(m_user.Seen(), (std::vector<std::string>{kSearchEnded, kBackupDialog, kChangesDialog,
                                                       kDialogQuestion, kChooseAgain,
                                                       kChangesDialog, kImportQuestion}));
    EXPECT_EQ(ReadValue(m_key.Handle(), nullptr, L"Path"), newPath);
    EXPECT_EQ(ReadValue(m_key.Handle(), L"Sub", nullptr), AnsiToWide("x;" + m_strReplace));
    EXPECT_EQ(ReadValue(m_key.Handle(), nullptr, L"Keep"), AnsiToWide(m_strFind + "\\keep"));

    // The change file holds the checked rows in list order, the backup the
    // same rows with their data as it was.
    std::string strChanges = "REGEDIT4\r\n\r\n";
    std::string strBackup = strChanges;
    auto Escaped = [](std::string strText) {
        std::string strOut;
        for (char ch : strText)
            strOut += (ch == '\\' || ch == '"') ? std::string("\\") + ch : std::string(1, ch);
        return strOut;
    };
    for (const ResultRow& row : rows) {
        if (row.strValueName == "Keep")
            continue;
        const std::string strKeyLine = "[" + row.strRootKey + row.strKeyPath + "]\r\n";
        const std::string strName = row.strValueName == "Path" ? "\"Path\"" : std::string("@");
        const std::string strOld = row.strValueData;
        const std::string strNew =
            row.strValueName == "Path" ? m_strReplace + "\\bin \"x\"" : "x;" + m_strReplace;
        strBackup += strKeyLine + strName + "=\"" + Escaped(strOld) + "\"\r\n\r\n";
        strChanges += strKeyLine + strName + "=\"" + Escaped(strNew) + "\"\r\n\r\n";
    }
    EXPECT_EQ(ReadWholeFile(File("Changes.reg")), strChanges);
    EXPECT_EQ(ReadWholeFile(File("Backup.reg")), strBackup);

    // The program is idle again: a close request ends it.
    PostMessageA(m_quillon.Frame(), WM_CLOSE, 0, 0);
    EXPECT_TRUE(m_quillon.WaitForExit());
}
