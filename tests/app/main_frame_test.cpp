#include "app/frame_fixture.h"
#include "app/user_input.h"

#include "platform/wide_text.h"
#include "results/result_list.h"
#include "support/test_key.h"

#include <commctrl.h>
#include <sddl.h>

#include <memory>
#include <vector>

namespace {

const char kSearchWaitText[] = "Please Wait Until The Search Is Terminated.";
const char kExportWaitText[] = "Please Wait Until The Changes Export Is Terminated.";

bool QuitPosted() {
    MSG msg;
    return PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_NOREMOVE) != FALSE;
}

RECT ScreenRect(HWND hWnd) {
    RECT rect{};
    GetWindowRect(hWnd, &rect);
    return rect;
}

RECT ClientScreenRect(HWND hWnd) {
    RECT rect{};
    GetClientRect(hWnd, &rect);
    MapWindowPoints(hWnd, nullptr, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

// A rectangle as text, to compare and to show.
std::string Text(const RECT& r) {
    return "(" + std::to_string(r.left) + ", " + std::to_string(r.top) + ")-(" +
           std::to_string(r.right) + ", " + std::to_string(r.bottom) + ")";
}

using MainFrameTest = FrameTest;

// How the user asks the frame to close.
enum class CloseWay { CloseBox, ExitCommand };

class MainFrameCloseTest : public FrameTest, public testing::WithParamInterface<CloseWay> {
protected:
    void AskToClose() const {
        if (GetParam() == CloseWay::CloseBox)
            SendMessageA(Frame(), WM_SYSCOMMAND, SC_CLOSE, 0);
        else
            Command(ID_APP_EXIT);
    }
};

} // namespace

TEST_P(MainFrameCloseTest, RefusedWhileASearchOrAnExportRunsAndAlwaysStopsTheSearch) {
    // Stands for the handle of a running search worker; taken back from the
    // frame however the test ends.
    HANDLE hWorker = CreateEventA(nullptr, TRUE, FALSE, nullptr);
    ASSERT_NE(hWorker, nullptr);
    const std::unique_ptr<void, void (*)(void*)> release(hWorker, [](void* h) { CloseHandle(h); });
    struct Reset {
        CMainFrame* pFrame;
        ~Reset() {
            pFrame->m_hSearchThread = nullptr;
            pFrame->m_bExporting = 0;
        }
    } reset{m_pFrame};
    const HWND hFrame = Frame();
    CBoxAnswerer answerer(CBoxAnswerer::PressDefault);
    const struct {
        const char* pszWhat;
        bool bSearchWorker;
        LONG nExporting;
        const char* pszBoxText; // null: the frame closes
    } cases[] = {
        {"a search runs", true, 0, kSearchWaitText},
        {"an export runs", false, 1, kExportWaitText},
        {"both run: the search is named", true, 1, kSearchWaitText},
        {"nothing runs", false, 0, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        m_pFrame->m_bSearching = 1;
        m_pFrame->m_hSearchThread = c.bSearchWorker ? hWorker : nullptr;
        m_pFrame->m_bExporting = c.nExporting;
        const size_t nBoxesBefore = answerer.Answered().size();

        AskToClose();

        std::vector<CBoxAnswerer::Box> boxes = answerer.Answered();
        boxes.erase(boxes.begin(), boxes.begin() + nBoxesBefore);
        EXPECT_EQ(m_pFrame->m_bSearching, 0) << "the run flag drops first, always";
        if (c.pszBoxText) {
            ASSERT_EQ(boxes.size(), 1u);
            EXPECT_EQ(boxes[0].strCaption, "Quillon");
            EXPECT_EQ(boxes[0].strText, c.pszBoxText);
            EXPECT_TRUE(IsWindow(hFrame)) << "the close was refused";
            EXPECT_FALSE(QuitPosted());
        } else {
            EXPECT_TRUE(boxes.empty());
            EXPECT_FALSE(IsWindow(hFrame)) << "the frame is gone";
            EXPECT_TRUE(QuitPosted()) << "the program's message loop ends";
        }
    }
}

INSTANTIATE_TEST_SUITE_P(MainFrame, MainFrameCloseTest,
                         testing::Values(CloseWay::CloseBox, CloseWay::ExitCommand),
                         [](const testing::TestParamInfo<CloseWay>& info) {
                             return info.param == CloseWay::CloseBox ? "CloseBox" : "ExitCommand";
                         });

TEST_F(MainFrameTest, StatusBarHasSixPanesAndTheKeyIndicatorsFollowTheKeyboard) {
    EXPECT_EQ(SendMessageA(StatusBar(), SB_GETPARTS, 0, 0), 6);
    EXPECT_EQ(PaneText(0), "Ready");

    BYTE original[256] = {};
    ASSERT_TRUE(GetKeyboardState(original));
    const struct {
        int nKey;
        int nPane;
        const char* pszText;
    } indicators[] = {{VK_CAPITAL, 3, "CAP"}, {VK_NUMLOCK, 4, "NUM"}, {VK_SCROLL, 5, "SCRL"}};
    for (const auto& indicator : indicators) {
        SCOPED_TRACE(indicator.pszText);
        for (bool bOn : {true, false}) {
            BYTE keys[256] = {};
            GetKeyboardState(keys);
            keys[indicator.nKey] = bOn ? 1 : 0;
            SetKeyboardState(keys);
            // The frame reads the keys when it becomes active.
            SendMessageA(Frame(), WM_ACTIVATE, WA_ACTIVE, 0);
            EXPECT_EQ(PaneText(indicator.nPane), bOn ? indicator.pszText : "");
        }
    }
    SetKeyboardState(original);
}

TEST_F(MainFrameTest, SearchProgressMessagesShowTheirTextsInPanesOneAndTwo) {
    const struct {
        UINT nMsg;
        const char* pszText;
        int nPane;
    } messages[] = {
        {WM_SHOW_KEY_COUNT, "12 Keys Proceeded.", 1},
        {WM_SHOW_KEY_PATH, "HKEY_CURRENT_USER\\Software\\Vantrel", 2},
        {WM_SHOW_KEY_COUNT, "13 Keys Proceeded.", 1},
        {WM_SHOW_KEY_PATH, "HKEY_LOCAL_MACHINE\\SOFTWARE", 2},
    };
    for (const auto& message : messages) {
        SCOPED_TRACE(message.pszText);
        const std::string strOtherPane = PaneText(3 - message.nPane);
        SendMessageA(Frame(), message.nMsg, 0, reinterpret_cast<LPARAM>(message.pszText));
        EXPECT_EQ(PaneText(message.nPane), message.pszText);
        EXPECT_EQ(PaneText(3 - message.nPane), strOtherPane);
    }
}

TEST_F(MainFrameTest, HighlightedMenuItemShowsItsPromptUntilTheMenuCloses) {
    HMENU hMenu = GetMenu(Frame());
    ASSERT_NE(hMenu, nullptr);
    const auto Item = [](UINT nId) { return MAKEWPARAM(nId, MF_HILITE); };
    const auto lMenu = reinterpret_cast<LPARAM>(hMenu);
    const auto lTool = reinterpret_cast<LPARAM>(GetSubMenu(hMenu, 0));
    const struct {
        const char* pszWhat;
        UINT nMsg;
        WPARAM wParam;
        LPARAM lParam;
        const char* pszPane0;
    } steps[] = {
        {"Tool > Search", WM_MENUSELECT, Item(ID_TOOL_SEARCH), lTool,
         "Do Search Through The Registry"},
        {"View > Status Bar", WM_MENUSELECT, Item(ID_VIEW_STATUS_BAR),
         reinterpret_cast<LPARAM>(GetSubMenu(hMenu, 2)), "Show or hide the status bar"},
        {"the Tool pop-up itself", WM_MENUSELECT, MAKEWPARAM(0, MF_HILITE | MF_POPUP), lMenu,
         "Ready"},
        {"Tool > Exit", WM_MENUSELECT, Item(ID_APP_EXIT), lTool, "Quit The Application"},
        {"the menu closes", WM_MENUSELECT, MAKEWPARAM(0, 0xFFFF), 0, "Ready"},
        {"Help > About", WM_MENUSELECT, Item(ID_APP_ABOUT),
         reinterpret_cast<LPARAM>(GetSubMenu(hMenu, 3)),
         "Display program information, version number and copyright"},
        {"the menu loop ends", WM_EXITMENULOOP, FALSE, 0, "Ready"},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.pszWhat);
        SendMessageA(Frame(), step.nMsg, step.wParam, step.lParam);
        EXPECT_EQ(PaneText(0), step.pszPane0);
    }
}

TEST_F(MainFrameTest, MenuOpenedFromTheKeyboardShowsThePromptOfItsFirstItem) {
    std::string strPromptSeen;
    CMenuAnswerer answerer({VK_ESCAPE, VK_ESCAPE}, [&](HWND) {
        // The first item is highlighted just after the menu shows.
        for (const DWORD nStart = GetTickCount(); GetTickCount() - nStart < 5000; Sleep(10)) {
            strPromptSeen = PaneText(0);
            if (strPromptSeen != "Ready")
                break;
        }
    });
    // F10 selects the menu bar, Down opens the Tool menu.
    PressKeys({VK_F10, VK_DOWN});
    HandleInput();
    EXPECT_EQ(answerer.Shown(),
              (std::vector<std::vector<std::string>>{{"&Search", "&Export Changes", "E&xit"}}));
    EXPECT_EQ(strPromptSeen, "Do Search Through The Registry");
    EXPECT_EQ(PaneText(0), "Ready");
}

TEST_F(MainFrameTest, StatusBarCommandHidesAndShowsTheBarAndTheViewFillsTheRest) {
    HMENU hViewMenu = GetSubMenu(GetMenu(Frame()), 2);
    const auto MenuTicked = [&] {
        SendMessageA(Frame(), WM_INITMENUPOPUP, reinterpret_cast<WPARAM>(hViewMenu), 2);
        return (GetMenuState(hViewMenu, ID_VIEW_STATUS_BAR, MF_BYCOMMAND) & MF_CHECKED) != 0;
    };
    for (bool bShown : {true, false, true}) {
        SCOPED_TRACE(bShown ? "bar shown" : "bar hidden");
        const RECT client = ClientScreenRect(Frame());
        RECT expectedView = client;
        if (bShown) {
            ASSERT_TRUE(IsWindowVisible(StatusBar()));
            const RECT bar = ScreenRect(StatusBar());
            EXPECT_EQ(bar.bottom, client.bottom);
            EXPECT_EQ(bar.left, client.left);
            EXPECT_EQ(bar.right, client.right);
            expectedView.bottom = bar.top;
        } else {
            ASSERT_FALSE(IsWindowVisible(StatusBar()));
        }
        EXPECT_EQ(Text(ScreenRect(View())), Text(expectedView));
        EXPECT_EQ(MenuTicked(), bShown);
        Command(ID_VIEW_STATUS_BAR);
    }
}

namespace {

const char kFindText[] = "C:\\Quillon Frame Test\\Old Folder";
const char kReplaceText[] = "D:\\New Folder";
const char kSearchEndText[] = "Search Through the Registry is Terminated.";

// Keeps the last progress texts that the frame's thread handed to the frame,
// as the worker sent them.
class CProgressRecorder {
public:
    explicit CProgressRecorder(HWND hFrame) {
        s_hFrame = hFrame;
        s_strLastCount.clear();
        s_strLastPath.clear();
        m_hHook = SetWindowsHookExA(WH_CALLWNDPROC, Record, nullptr, GetCurrentThreadId());
    }
    ~CProgressRecorder() { UnhookWindowsHookEx(m_hHook); }
    CProgressRecorder(const CProgressRecorder&) = delete;
    CProgressRecorder& operator=(const CProgressRecorder&) = delete;

    static std::string LastCount() { return s_strLastCount; }
    static std::string LastPath() { return s_strLastPath; }

private:
    static LRESULT CALLBACK Record(int nCode, WPARAM wParam, LPARAM lParam) {
        const auto* pCall = reinterpret_cast<const CWPSTRUCT*>(lParam);
        if (nCode == HC_ACTION && pCall->hwnd == s_hFrame && pCall->lParam) {
            const auto* pszText = reinterpret_cast<const char*>(pCall->lParam);
            if (pCall->message == WM_SHOW_KEY_COUNT)
                s_strLastCount = pszText;
            else if (pCall->message == WM_SHOW_KEY_PATH)
                s_strLastPath = pszText;
        }
        return CallNextHookEx(nullptr, nCode, wParam, lParam);
    }

    HHOOK m_hHook = nullptr;
    static inline HWND s_hFrame = nullptr;
    static inline std::string s_strLastCount;
    static inline std::string s_strLastPath;
};

// Tool > Search driven as the user drives it: the options dialog filled in
// and confirmed (a second one, which must not come, is cancelled), and every
// message box answered.
class MainFrameSearchTest : public FrameTest {
protected:
    MainFrameSearchTest()
        : m_answerer([this](const CBoxAnswerer::Box& box) {
              if (box.strCaption != "Search Options")
                  return CBoxAnswerer::PressDefault(box);
              if (++m_nOptionsDialogs > 1)
                  return IDCANCEL;
              SetDlgItemTextA(box.hWnd, IDC_FIND_WHAT, kFindText);
              SetDlgItemTextA(box.hWnd, IDC_REPLACE_WITH, kReplaceText);
              return IDOK;
          }) {}

    // The texts of the boxes answered so far, the dialog by its caption.
    std::vector<std::string> Boxes() const {
        std::vector<std::string> boxes;
        for (const CBoxAnswerer::Box& box : m_answerer.Answered()) {
            EXPECT_TRUE(box.strCaption == "Quillon" || box.strCaption == "Search Options")
                << box.strCaption;
            boxes.push_back(box.strText.empty() ? box.strCaption : box.strText);
        }
        return boxes;
    }

    // Handles the frame's messages until the search's end box is answered.
    bool PumpUntilSearchEnds(DWORD nMilliseconds) {
        return PumpUntil(
            [&] {
                for (const CBoxAnswerer::Box& box : m_answerer.Answered())
                    if (box.strText == kSearchEndText && !IsWindow(box.hWnd))
                        return true;
                return false;
            },
            nMilliseconds);
    }

    std::atomic<int> m_nOptionsDialogs{0};
    CBoxAnswerer m_answerer;
};

// "<n> Keys Proceeded." with n > 0.
bool IsKeyCountText(const std::string& strText) {
    const std::string strTail = " Keys Proceeded.";
    if (strText.size() <= strTail.size() ||
        strText.compare(strText.size() - strTail.size(), strTail.size(), strTail) != 0)
        return false;
    const std::string strNumber = strText.substr(0, strText.size() - strTail.size());
    return strNumber.find_first_not_of("0123456789") == std::string::npos &&
           std::stol(strNumber) > 0;
}

bool StartsWithARootKey(const std::string& strPath) {
    for (const char* pszRoot : {"HKEY_CLASSES_ROOT\\", "HKEY_CURRENT_USER\\",
                                "HKEY_LOCAL_MACHINE\\", "HKEY_USERS\\", "HKEY_CURRENT_CONFIG\\"})
        if (strPath.rfind(pszRoot, 0) == 0)
            return true;
    return false;
}

// The full name of the last key that a whole search enters: in the last
// root key that has subkeys, the last subkey of the last subkey, and so on.
std::string LastKeyOfTheWalk() {
    const std::pair<HKEY, const char*> roots[] = {{HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG"},
                                                  {HKEY_USERS, "HKEY_USERS"},
                                                  {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE"},
                                                  {HKEY_CURRENT_USER, "HKEY_CURRENT_USER"},
                                                  {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT"}};
    for (const auto& root : roots) {
        std::string strName = root.second;
        HKEY hKey = root.first;
        for (;;) {
            DWORD nSubKeys = 0;
            char szSub[256] = "";
            DWORD cch = sizeof szSub;
            HKEY hSub = nullptr;
            if (RegQueryInfoKeyA(hKey, nullptr, nullptr, nullptr, &nSubKeys, nullptr, nullptr,
                                 nullptr, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS ||
                nSubKeys == 0 ||
                RegEnumKeyExA(hKey, nSubKeys - 1, szSub, &cch, nullptr, nullptr, nullptr,
                              nullptr) != ERROR_SUCCESS ||
                RegOpenKeyExA(hKey, szSub, 0, KEY_READ, &hSub) != ERROR_SUCCESS)
                break;
            if (hKey != root.first)
                RegCloseKey(hKey);
            hKey = hSub;
            strName += std::string("\\") + szSub;
        }
        if (hKey != root.first)
            RegCloseKey(hKey);
        if (strName != root.second)
            return strName;
    }
    return "";
}

// The user's own key under HKEY_USERS, which is HKEY_CURRENT_USER again:
// "\S-1-5-...".
std::string UserKeyUnderUsers() {
    HANDLE hToken = nullptr;
    OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &hToken);
    BYTE buffer[256] = {};
    DWORD cb = 0;
    std::string strKey;
    char* pszSid = nullptr;
    if (GetTokenInformation(hToken, TokenUser, buffer, sizeof buffer, &cb) &&
        ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &pszSid)) {
        strKey = std::string("\\") + pszSid;
        LocalFree(pszSid);
    }
    CloseHandle(hToken);
    return strKey;
}

} // namespace

TEST_F(MainFrameSearchTest, ListsTheMatchingValuesAndShowsTheLastProgressInThePanes) {
    CTestKey key;
    const std::wstring find = AnsiToWide(kFindText);
    // The subkey comes first, yet its values are listed after the key's own.
    key.SetString(L"Sub", L"Inner", L"x;" + find + L";y");
    key.SetString(L"", L"First", find + L"\\bin\\tool.exe");
    key.SetString(L"", L"Elsewhere", L"C:\\Quillon Frame Test\\New Folder");
    key.SetString(L"", L"Second", find);
    key.SetString(L"Sub\\Deeper", L"", find + L"\\lib");
    // A row of an earlier search, which the new search clears.
    ResultRow older;
    older.strRootKey = "HKEY_CURRENT_USER";
    older.strKeyPath = "\\Older";
    CResultList(View()).AppendRow(older);

    const std::string strFind = kFindText;
    struct Row {
        std::string strRootKey, strKeyPath, strName, strData;
    };
    std::vector<Row> expected;
    const std::string strUserKey = UserKeyUnderUsers();
    ASSERT_FALSE(strUserKey.empty());
    for (const auto& root : {std::make_pair("HKEY_CURRENT_USER", key.KeyPath()),
                             std::make_pair("HKEY_USERS", strUserKey + key.KeyPath())}) {
        const std::string strKey = root.second;
        expected.push_back({root.first, strKey, "First", strFind + "\\bin\\tool.exe"});
        expected.push_back({root.first, strKey, "Second", strFind});
        expected.push_back({root.first, strKey + "\\Sub", "Inner", "x;" + strFind + ";y"});
        expected.push_back({root.first, strKey + "\\Sub\\Deeper", "(Default)", strFind + "\\lib"});
    }

    CProgressRecorder progress(Frame());
    const DWORD nStart = GetTickCount();
    Command(ID_TOOL_SEARCH);
    ASSERT_NE(m_pFrame->m_hSearchThread.load(), nullptr) << "the search runs";
    EXPECT_EQ(m_pFrame->m_bSearching, 1);
    EXPECT_EQ(m_pFrame->m_strFind, kFindText);
    EXPECT_EQ(m_pFrame->m_strReplace, kReplaceText);
    EXPECT_EQ(CResultList(View()).GetRowCount(), 0) << "the earlier rows are gone";
    Command(ID_TOOL_SEARCH); // while the search runs: nothing happens

    ASSERT_TRUE(PumpUntilSearchEnds(300000));
    RecordProperty("SearchMilliseconds", static_cast<int>(GetTickCount() - nStart));
    EXPECT_EQ(Boxes(), (std::vector<std::string>{"Search Options", kSearchEndText}));
    EXPECT_EQ(m_nOptionsDialogs, 1);
    EXPECT_EQ(m_pFrame->m_hSearchThread.load(), nullptr);
    EXPECT_EQ(m_pFrame->m_bSearching, 0);

    const CResultList rows(View());
    std::vector<std::string> found;
    std::vector<std::string> wanted;
    for (int nRow = 0; nRow < rows.GetRowCount(); ++nRow) {
        found.push_back(rows.GetRowText(nRow, 0) + " " + rows.GetRowText(nRow, 1) + " | " +
                        rows.GetRowText(nRow, 2) + " | " + rows.GetRowText(nRow, 3));
        EXPECT_EQ(rows.GetRowCheck(nRow), 1) << found.back();
    }
    for (const Row& row : expected)
        wanted.push_back(row.strRootKey + " " + row.strKeyPath + " | " + row.strName + " | " +
                         row.strData);
    EXPECT_EQ(found, wanted);

    // The panes end on the last key entered, with the count sent with it.
    EXPECT_TRUE(IsKeyCountText(PaneText(1))) << PaneText(1);
    EXPECT_EQ(PaneText(1), progress.LastCount());
    EXPECT_TRUE(StartsWithARootKey(PaneText(2))) << PaneText(2);
    EXPECT_EQ(PaneText(2), LastKeyOfTheWalk());
    EXPECT_EQ(PaneText(2), progress.LastPath());
}

TEST_F(MainFrameSearchTest, CloseDuringASearchIsRefusedAndStopsTheSearch) {
    const HWND hFrame = Frame();
    CProgressRecorder progress(Frame());
    Command(ID_TOOL_SEARCH);
    ASSERT_NE(m_pFrame->m_hSearchThread.load(), nullptr) << "the search runs";
    ASSERT_TRUE(PumpUntil([] { return IsKeyCountText(CProgressRecorder::LastCount()); }));

    SendMessageA(Frame(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_TRUE(IsWindow(hFrame)) << "the close was refused";
    EXPECT_EQ(m_pFrame->m_bSearching, 0) << "the search was asked to stop";

    const DWORD nStopAsked = GetTickCount();
    ASSERT_TRUE(PumpUntilSearchEnds(60000));
    RecordProperty("StopMilliseconds", static_cast<int>(GetTickCount() - nStopAsked));
    EXPECT_EQ(Boxes(),
              (std::vector<std::string>{"Search Options", kSearchWaitText, kSearchEndText}));
    EXPECT_EQ(m_pFrame->m_hSearchThread.load(), nullptr);
    EXPECT_EQ(PaneText(1), progress.LastCount());
    EXPECT_EQ(PaneText(2), progress.LastPath());

    SendMessageA(Frame(), WM_SYSCOMMAND, SC_CLOSE, 0);
    EXPECT_FALSE(IsWindow(hFrame)) << "once the search ended, the frame closes";
}
