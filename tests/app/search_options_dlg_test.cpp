// The Search Options dialog and the About box, each run modally as the
// program runs them, with a user on another thread who types, presses the
// buttons and answers the boxes.
#include "app/about_dlg.h"
#include "app/search_options_dlg.h"
#include "res/resource.h"
#include "support/box_answerer.h"
#include "support/window_search.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kFindNeeded[] = "'Find What' Is Needed, and Cannot Be Empty.";
const char kReplaceNeeded[] = "'Replace With' Is Needed, and Cannot Be Empty.";
const char kSame[] = "'Find What' And 'Replace With' Cannot Be The Same.";

// Lets the dialog's thread handle everything already sent or posted to it,
// so that what is read next is what the user would see now.
void Settle(HWND hDlg) {
    DWORD_PTR nResult = 0;
    SendMessageTimeoutA(hDlg, WM_NULL, 0, 0, SMTO_NORMAL, 5000, &nResult);
}

// The id of the dialog's control that has the focus; 0 when the focus is
// not in the dialog. Read from the dialog's thread's input state, since
// GetFocus answers only for the calling thread.
int FocusedId(HWND hDlg) {
    Settle(hDlg);
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    if (!GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, nullptr), &info) ||
        !IsChild(hDlg, info.hwndFocus))
        return 0;
    return GetDlgCtrlID(info.hwndFocus);
}

std::string ItemText(HWND hDlg, int nId) {
    return WindowText(GetDlgItem(hDlg, nId));
}

void Type(HWND hDlg, int nId, const std::string& strText) {
    SendDlgItemMessageA(hDlg, nId, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strText.c_str()));
}

void Press(HWND hDlg, int nId) {
    PostMessageA(hDlg, WM_COMMAND, MAKEWPARAM(nId, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(hDlg, nId)));
}

void PressEscape(HWND hDlg) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    GetGUIThreadInfo(GetWindowThreadProcessId(hDlg, nullptr), &info);
    PostMessageA(info.hwndFocus ? info.hwndFocus : hDlg, WM_KEYDOWN, VK_ESCAPE,
                 1 | (MapVirtualKeyA(VK_ESCAPE, MAPVK_VK_TO_VSC) << 16));
}

// The icon that a message box shows.
HICON BoxIcon(HWND hBox) {
    HWND hIconControl = FindChildWindow(hBox, [](HWND hChild) {
        return (GetWindowLongPtrA(hChild, GWL_STYLE) & SS_TYPEMASK) == SS_ICON;
    });
    return hIconControl ? reinterpret_cast<HICON>(SendMessageA(hIconControl, STM_GETICON, 0, 0))
                        : nullptr;
}

// A user at one dialog: the first step runs when the dialog shows, each
// further step once the box that the step before brought up was answered and
// is gone. Message boxes are answered with OK, other dialogs (the folder
// picker) with Cancel. Everything seen is kept for the test to read once
// the user is gone.
class CDialogUser {
public:
    using Step = std::function<void(HWND hDlg)>;

    CDialogUser(std::string strCaption, std::vector<Step> steps)
        : m_strCaption(std::move(strCaption)), m_steps(std::move(steps)),
          m_answerer(std::make_unique<CBoxAnswerer>(
              [this](const CBoxAnswerer::Box& box) { return Answer(box); })) {}

    // Stops watching; only then may the test read what was seen.
    void Leave() { m_answerer.reset(); }

    struct SeenBox {
        std::string strCaption;
        std::string strText;
        HICON hIcon = nullptr;
        HWND hOwner = nullptr;
    };
    std::vector<SeenBox> m_boxes;

private:
    int Answer(const CBoxAnswerer::Box& box) {
        if (box.strCaption == m_strCaption && (!m_hDlg || box.hWnd == m_hDlg)) {
            m_hDlg = box.hWnd;
            const bool bBoxGone = !m_hBox || !IsWindow(m_hBox);
            if (m_nNextStep < m_steps.size() && m_nNextStep == m_boxes.size() && bBoxGone) {
                Settle(m_hDlg);
                m_steps[m_nNextStep++](m_hDlg);
            }
            return 0; // the dialog stays for the next step
        }
        if (!m_hDlg)
            return 0;
        m_hBox = box.hWnd;
        m_boxes.push_back(
            {box.strCaption, box.strText, BoxIcon(box.hWnd), GetWindow(box.hWnd, GW_OWNER)});
        return box.strCaption == "Quillon" ? IDOK : IDCANCEL;
    }

    std::string m_strCaption;
    std::vector<Step> m_steps;
    HWND m_hDlg = nullptr;
    HWND m_hBox = nullptr;
    size_t m_nNextStep = 0;
    std::unique_ptr<CBoxAnswerer> m_answerer;
};

// An owner for the dialogs, as the main frame is in the program.
class DialogTest : public testing::Test {
protected:
    DialogTest() {
        m_hOwner = CreateWindowExA(0, "STATIC", "owner", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 0, 0,
                                   640, 480, nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    }
    ~DialogTest() override { DestroyWindow(m_hOwner); }

    HWND m_hOwner = nullptr;
};

// What the search dialog showed and gave back in one run.
struct SearchRun {
    INT_PTR nResult = 0;
    std::vector<CDialogUser::SeenBox> boxes;
    int nFocusAfterBox = -1;
    bool bOpenAfterBox = false;
    std::string strFindAfterBox;
    std::string strReplaceAfterBox;
    std::string strFindWhat; // the dialog's members at the end
    std::string strReplaceWith;
};

enum class Leave { kOk, kCancel, kEscape };

// Types the texts, leaves the dialog as told and, should a box come and go,
// notes what the dialog shows then and cancels it.
SearchRun RunSearchOptions(HWND hOwner, const std::string& strFind, const std::string& strReplace,
                           Leave leave) {
    SearchRun run;
    CSearchOptionsDlg dialog(hOwner);
    CDialogUser user("Search Options", {[&](HWND hDlg) {
                                            Type(hDlg, IDC_FIND_WHAT, strFind);
                                            Type(hDlg, IDC_REPLACE_WITH, strReplace);
                                            if (leave == Leave::kEscape)
                                                PressEscape(hDlg);
                                            else
                                                Press(hDlg, leave == Leave::kOk ? IDOK : IDCANCEL);
                                        },
                                        [&](HWND hDlg) {
                                            run.nFocusAfterBox = FocusedId(hDlg);
                                            run.bOpenAfterBox = IsWindowVisible(hDlg) != FALSE;
                                            run.strFindAfterBox = ItemText(hDlg, IDC_FIND_WHAT);
                                            run.strReplaceAfterBox =
                                                ItemText(hDlg, IDC_REPLACE_WITH);
                                            Press(hDlg, IDCANCEL);
                                        }});
    run.nResult = dialog.DoModal();
    user.Leave();
    run.boxes = user.m_boxes;
    run.strFindWhat = dialog.m_strFindWhat;
    run.strReplaceWith = dialog.m_strReplaceWith;
    return run;
}

} // namespace

TEST_F(DialogTest, SearchOptionsOpensWithOkFocusedEmptyFieldsAndFolderButtons) {
    int nFocus = -1;
    std::string strFind = "x", strReplace = "x";
    HANDLE hImages[2] = {};
    CSearchOptionsDlg dialog(m_hOwner);
    CDialogUser user("Search Options", {[&](HWND hDlg) {
                         nFocus = FocusedId(hDlg);
                         strFind = ItemText(hDlg, IDC_FIND_WHAT);
                         strReplace = ItemText(hDlg, IDC_REPLACE_WITH);
                         int i = 0;
                         for (int nId : {IDC_BROWSE_FIND_WHAT, IDC_BROWSE_REPLACE_WITH})
                             hImages[i++] = reinterpret_cast<HANDLE>(
                                 SendDlgItemMessageA(hDlg, nId, BM_GETIMAGE, IMAGE_ICON, 0));
                         Press(hDlg, IDCANCEL);
                     }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    user.Leave();
    EXPECT_EQ(nFocus, IDOK);
    EXPECT_EQ(strFind, "");
    EXPECT_EQ(strReplace, "");
    EXPECT_NE(hImages[0], nullptr) << "the browse button beside 'Find What' has no picture";
    EXPECT_NE(hImages[1], nullptr) << "the browse button beside 'Replace With' has no picture";
    EXPECT_TRUE(user.m_boxes.empty());
}

TEST_F(DialogTest, SearchOptionsRefusesMissingOrSameTextsWithOneWarning) {
    const struct {
        const char* pszWhat;
        std::string strFind;
        std::string strReplace;
        const char* pszBox;
        int nFocus;
    } cases[] = {
        {"both empty", "", "", kFindNeeded, IDC_FIND_WHAT},
        {"find empty", "", "D:\\New", kFindNeeded, IDC_FIND_WHAT},
        {"replace empty", "C:\\Old", "", kReplaceNeeded, IDC_REPLACE_WITH},
        {"same folder in other case", "C:\\PROGRAM FILES\\OLD", "c:\\program files\\old", kSame,
         IDC_FIND_WHAT},
        {"same folder, accented letters in other case", "C:\\CAF\xc9", "c:\\caf\xe9", kSame,
         IDC_FIND_WHAT},
    };
    const HICON hWarning = LoadIconA(nullptr, IDI_WARNING);
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        const SearchRun run = RunSearchOptions(m_hOwner, c.strFind, c.strReplace, Leave::kOk);
        ASSERT_EQ(run.boxes.size(), 1u);
        EXPECT_EQ(run.boxes[0].strCaption, "Quillon");
        EXPECT_EQ(run.boxes[0].strText, c.pszBox);
        EXPECT_EQ(run.boxes[0].hIcon, hWarning) << "not the warning icon";
        EXPECT_TRUE(run.bOpenAfterBox) << "the dialog closed";
        EXPECT_EQ(run.nFocusAfterBox, c.nFocus);
        EXPECT_EQ(run.strFindAfterBox, c.strFind) << "the typing is kept";
        EXPECT_EQ(run.strReplaceAfterBox, c.strReplace);
        EXPECT_EQ(run.nResult, IDCANCEL) << "only the user's Cancel closes it";
    }
}

TEST_F(DialogTest, SearchOptionsAcceptsTextsThatDifferAndKeepsThemAsTyped) {
    const struct {
        const char* pszWhat;
        std::string strFind;
        std::string strReplace;
    } cases[] = {
        {"a trailing blank makes them differ", "C:\\Old ", "c:\\old"},
        {"a find text of one blank", " ", "D:\\New"},
        {"letters in both cases, accented ones too", "C:\\Program Files\\Caf\xe9",
         "D:\\Moved\\CAF\xc9 Place"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        const SearchRun run = RunSearchOptions(m_hOwner, c.strFind, c.strReplace, Leave::kOk);
        EXPECT_TRUE(run.boxes.empty());
        EXPECT_EQ(run.nResult, IDOK);
        EXPECT_EQ(run.strFindWhat, c.strFind);
        EXPECT_EQ(run.strReplaceWith, c.strReplace);
    }
}

TEST_F(DialogTest, SearchOptionsClosesOnCancelOrEscapeWithoutChecking) {
    const struct {
        const char* pszWhat;
        std::string strFind;
        std::string strReplace;
        Leave leave;
    } cases[] = {
        {"Cancel with both empty", "", "", Leave::kCancel},
        {"Cancel with the same texts", "C:\\Old", "c:\\OLD", Leave::kCancel},
        {"Esc with the replace text empty", "C:\\Old", "", Leave::kEscape},
        {"Esc with the same texts", "C:\\Old", "C:\\Old", Leave::kEscape},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        const SearchRun run = RunSearchOptions(m_hOwner, c.strFind, c.strReplace, c.leave);
        EXPECT_TRUE(run.boxes.empty());
        EXPECT_EQ(run.nResult, IDCANCEL);
    }
}

TEST_F(DialogTest, FolderPickerCancelledLeavesBothFieldsAsTheyWere) {
    std::string strFind, strReplace;
    CSearchOptionsDlg dialog(m_hOwner);
    CDialogUser user("Search Options", {[&](HWND hDlg) {
                                            Type(hDlg, IDC_FIND_WHAT, "C:\\Typed But Not Saved");
                                            Type(hDlg, IDC_REPLACE_WITH, "D:\\Kept");
                                            Press(hDlg, IDC_BROWSE_REPLACE_WITH);
                                        },
                                        [&](HWND hDlg) {
                                            strFind = ItemText(hDlg, IDC_FIND_WHAT);
                                            strReplace = ItemText(hDlg, IDC_REPLACE_WITH);
                                            Press(hDlg, IDCANCEL);
                                        }});
    EXPECT_EQ(dialog.DoModal(), IDCANCEL);
    user.Leave();
    ASSERT_EQ(user.m_boxes.size(), 1u) << "no folder picker showed";
    EXPECT_EQ(user.m_boxes[0].hOwner, dialog.GetHwnd()) << user.m_boxes[0].strCaption;
    EXPECT_EQ(strFind, "C:\\Typed But Not Saved");
    EXPECT_EQ(strReplace, "D:\\Kept");
}

TEST_F(DialogTest, AboutBoxShowsVersionAndNoticePictureEachTime) {
    for (int nTime = 1; nTime <= 2; ++nTime) {
        SCOPED_TRACE(nTime);
        bool bVersionShown = false;
        BITMAP picture{};
        CAboutDlg dialog(m_hOwner);
        CDialogUser user("About Quillon", {[&](HWND hDlg) {
                             for (HWND hChild = GetWindow(hDlg, GW_CHILD); hChild;
                                  hChild = GetWindow(hChild, GW_HWNDNEXT))
                                 bVersionShown |= WindowText(hChild) == "Quillon Version 1.0a";
                             const HANDLE hBitmap = reinterpret_cast<HANDLE>(SendDlgItemMessageA(
                                 hDlg, IDC_NOTICE_PICTURE, STM_GETIMAGE, IMAGE_BITMAP, 0));
                             if (hBitmap)
                                 GetObjectA(hBitmap, sizeof picture, &picture);
                             Press(hDlg, IDOK);
                         }});
        EXPECT_EQ(dialog.DoModal(), IDOK);
        user.Leave();
        EXPECT_TRUE(bVersionShown);
        EXPECT_EQ(picture.bmWidth, 558);
        EXPECT_EQ(picture.bmHeight, 226);
    }
}
