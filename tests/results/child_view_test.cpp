#include "app/frame_fixture.h"
#include "app/user_input.h"

#include "results/result_list.h"

#include <commctrl.h>

#include <vector>

namespace {

// The frame's result view, with rows put into it the way a search adds them.
class ChildViewTest : public FrameTest {
protected:
    void AddRows(const std::vector<int>& checks) const {
        for (int nCheck : checks) {
            ResultRow row;
            row.strRootKey = "HKEY_CURRENT_USER";
            row.strKeyPath = "\\Software\\Row" + std::to_string(Rows().GetRowCount());
            row.strValueName = "Path";
            row.strValueData = "C:\\Old\\bin";
            row.nCheck = nCheck;
            ASSERT_TRUE(Rows().AppendRow(row));
        }
    }

    CResultList Rows() const { return m_pFrame->m_wndView.Rows(); }

    std::vector<int> Checks() const {
        std::vector<int> checks;
        for (int nRow = 0; nRow < Rows().GetRowCount(); ++nRow)
            checks.push_back(Rows().GetRowCheck(nRow));
        return checks;
    }

    void Select(const std::vector<int>& rows) const {
        LVITEMA none{};
        none.stateMask = LVIS_SELECTED;
        SendMessageA(View(), LVM_SETITEMSTATE, static_cast<WPARAM>(-1), (LPARAM)&none);
        for (int nRow : rows) {
            LVITEMA item{};
            item.stateMask = item.state = LVIS_SELECTED;
            SendMessageA(View(), LVM_SETITEMSTATE, nRow, (LPARAM)&item);
        }
    }

    std::vector<int> Selected() const {
        std::vector<int> rows;
        for (int nRow = -1; (nRow = static_cast<int>(SendMessageA(View(), LVM_GETNEXTITEM, nRow,
                                                                  LVNI_SELECTED))) != -1;)
            rows.push_back(nRow);
        return rows;
    }

    // The middle of a part of a row (LVIR_ICON: the check image), in the
    // view's client coordinates.
    POINT RowPoint(int nRow, int nPart) const {
        RECT rect{};
        rect.left = nPart;
        SendMessageA(View(), LVM_GETITEMRECT, nRow, (LPARAM)&rect);
        return {(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    }

    std::vector<int> ColumnWidths() const {
        std::vector<int> widths;
        for (int i = 0; i < 4; ++i)
            widths.push_back(static_cast<int>(SendMessageA(View(), LVM_GETCOLUMNWIDTH, i, 0)));
        return widths;
    }
};

} // namespace

TEST_F(ChildViewTest, IsAWhiteOnBlueReportListWithFourColumnsAndTwoCheckImages) {
    char szClass[32] = "";
    GetClassNameA(View(), szClass, sizeof szClass);
    EXPECT_STREQ(szClass, "SysListView32");
    EXPECT_EQ(GetWindowLongA(View(), GWL_STYLE) & LVS_TYPEMASK, LVS_REPORT);

    EXPECT_EQ(SendMessageA(View(), LVM_GETTEXTCOLOR, 0, 0), RGB(255, 255, 255));
    EXPECT_EQ(SendMessageA(View(), LVM_GETTEXTBKCOLOR, 0, 0), RGB(0, 0, 255));
    EXPECT_EQ(SendMessageA(View(), LVM_GETBKCOLOR, 0, 0), RGB(0, 0, 255));
    EXPECT_TRUE(SendMessageA(View(), LVM_GETEXTENDEDLISTVIEWSTYLE, 0, 0) & LVS_EX_GRIDLINES);

    std::vector<std::string> titles;
    for (int i = 0;; ++i) {
        char szTitle[64] = "";
        LVCOLUMNA column{};
        column.mask = LVCF_TEXT;
        column.pszText = szTitle;
        column.cchTextMax = sizeof szTitle;
        if (!SendMessageA(View(), LVM_GETCOLUMNA, i, (LPARAM)&column))
            break;
        titles.push_back(szTitle);
    }
    EXPECT_EQ(titles, (std::vector<std::string>{"Root Key", "Key", "Name", "Value"}));

    const auto hImages =
        reinterpret_cast<HIMAGELIST>(SendMessageA(View(), LVM_GETIMAGELIST, LVSIL_SMALL, 0));
    ASSERT_NE(hImages, nullptr);
    EXPECT_EQ(ImageList_GetImageCount(hImages), 2);
}

TEST_F(ChildViewTest, ColumnsShareTheWidthOnlyWhenBothSidesExceedFifty) {
    // The border around the client area, measured while no scroll bar shows.
    RECT window{};
    RECT client{};
    GetWindowRect(View(), &window);
    GetClientRect(View(), &client);
    const int nBorderX = (window.right - window.left) - client.right;
    const int nBorderY = (window.bottom - window.top) - client.bottom;
    RECT frame{};
    GetWindowRect(Frame(), &frame);
    const int nFrameExtraX = (frame.right - frame.left) - client.right;

    const struct {
        int cx;
        int cy;
        std::vector<int> widths;
    } steps[] = {
        {997, 400, {199, 498, 149, 149}}, {333, 400, {66, 166, 49, 49}},
        {50, 400, {66, 166, 49, 49}},     {997, 50, {66, 166, 49, 49}},
        {20, 20, {66, 166, 49, 49}},      {400, 51, {80, 200, 60, 60}},
        {51, 400, {10, 25, 7, 7}},        {997, 400, {199, 498, 149, 149}},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "client " << step.cx << " x " << step.cy);
        SetWindowPos(View(), nullptr, 0, 0, step.cx + nBorderX, step.cy + nBorderY,
                     SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
        GetClientRect(View(), &client);
        // A horizontal scroll bar, shown while the columns are wider than
        // the view, may take some of the height, never enough to matter.
        ASSERT_EQ(client.right, step.cx);
        ASSERT_EQ(client.right > 50 && client.bottom > 50, step.cx > 50 && step.cy > 50);
        EXPECT_EQ(ColumnWidths(), step.widths);
    }

    // Resizing the frame lays the view out anew, with the same shares.
    SetWindowPos(Frame(), nullptr, 0, 0, nFrameExtraX + 333, frame.bottom - frame.top,
                 SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    GetClientRect(View(), &client);
    ASSERT_EQ(client.right, 333);
    EXPECT_EQ(ColumnWidths(), (std::vector<int>{66, 166, 49, 49}));
}

TEST_F(ChildViewTest, LeftClickOnARowsImageTogglesItsCheckMark) {
    AddRows({1, 0, 1, 0, 1});
    const POINT below{RowPoint(4, LVIR_ICON).x,
                      RowPoint(4, LVIR_ICON).y +
                          3 * (RowPoint(4, LVIR_ICON).y - RowPoint(3, LVIR_ICON).y)};
    // Successive clicks land on different places, so that none of them
    // makes a double click with the one before.
    const struct {
        const char* pszWhat;
        POINT point;
        bool bDouble;
        int nToggledRow; // -1: no check mark changes
    } steps[] = {
        {"a click on row 1's image", RowPoint(1, LVIR_ICON), false, 1},
        {"a click on row 3's text", RowPoint(3, LVIR_LABEL), false, -1},
        {"a click on row 1's image again", RowPoint(1, LVIR_ICON), false, 1},
        {"a click below the last row", below, false, -1},
        {"a double click on row 2's image", RowPoint(2, LVIR_ICON), true, 2},
        {"a click on the last row's image", RowPoint(4, LVIR_ICON), false, 4},
        {"a click in the middle of row 0", RowPoint(0, LVIR_BOUNDS), false, -1},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(step.pszWhat);
        std::vector<int> expected = Checks();
        if (step.nToggledRow >= 0)
            expected[step.nToggledRow] ^= 1;
        PutCursor(View(), step.point);
        if (step.bDouble)
            PressMouse({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP, MOUSEEVENTF_LEFTDOWN,
                        MOUSEEVENTF_LEFTUP});
        else
            PressMouse({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
        HandleInput();
        EXPECT_EQ(Checks(), expected);
    }
}

TEST_F(ChildViewTest, LeftClickTogglesTheRowsScrolledIntoView) {
    AddRows(std::vector<int>(60, 1));
    SendMessageA(View(), LVM_ENSUREVISIBLE, 59, FALSE);
    const int nTop = static_cast<int>(SendMessageA(View(), LVM_GETTOPINDEX, 0, 0));
    ASSERT_GT(nTop, 20) << "the list was scrolled to its end";
    for (int nRow : {59, nTop}) {
        SCOPED_TRACE(testing::Message() << "row " << nRow);
        std::vector<int> expected = Checks();
        expected[nRow] = 0;
        PutCursor(View(), RowPoint(nRow, LVIR_ICON));
        PressMouse({MOUSEEVENTF_LEFTDOWN, MOUSEEVENTF_LEFTUP});
        HandleInput();
        EXPECT_EQ(Checks(), expected);
    }
}

TEST_F(ChildViewTest, CheckAndUncheckChangeEverySelectedRowAlsoOffScreen) {
    AddRows(std::vector<int>(60, 1));
    ASSERT_LT(SendMessageA(View(), LVM_GETCOUNTPERPAGE, 0, 0), 40) << "rows 40 on are off screen";

    const struct {
        std::vector<int> selection;
        UINT nCommand;
        int nCheck;
    } steps[] = {
        {{2, 40, 59}, ID_EDIT_UNCHECK, 0},
        {{40, 41}, ID_EDIT_CHECK, 1},
        {{}, ID_EDIT_CHECK, 1},
        {{}, ID_EDIT_UNCHECK, 0},
        {{0, 1, 2, 3}, ID_EDIT_UNCHECK, 0},
    };
    for (const auto& step : steps) {
        SCOPED_TRACE(testing::Message() << "command " << step.nCommand << " on "
                                        << testing::PrintToString(step.selection));
        std::vector<int> expected = Checks();
        for (int nRow : step.selection)
            expected[nRow] = step.nCheck;
        Select(step.selection);
        Command(step.nCommand);
        EXPECT_EQ(Checks(), expected);
        EXPECT_EQ(Selected(), step.selection) << "the selection stays";
    }
}

TEST_F(ChildViewTest, RightClickShowsTheEditMenuOnlyForASelection) {
    AddRows({1, 1, 1, 1, 1});
    // The items of the main menu's "&Edit" pop-up.
    HMENU hMainMenu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
    ASSERT_NE(hMainMenu, nullptr);
    ASSERT_EQ(CMenuAnswerer::ItemTexts(hMainMenu)[1], "&Edit");
    const std::vector<std::string> editItems = CMenuAnswerer::ItemTexts(GetSubMenu(hMainMenu, 1));
    DestroyMenu(hMainMenu);
    ASSERT_EQ(editItems, (std::vector<std::string>{"&Check", "&Unckeck"}));

    RECT statusBar{};
    GetClientRect(StatusBar(), &statusBar);
    const POINT onStatusBar{statusBar.right / 4, statusBar.bottom / 2};

    const struct {
        const char* pszWhat;
        std::vector<int> selection;
        int nRow;               // the row under the press
        bool bCursorOutside;    // the cursor left the view before the press was handled
        std::vector<WORD> keys; // what the user presses once the menu shows
        bool bMenu;
        std::vector<int> checks;
    } steps[] = {
        {"no selection", {}, 1, false, {VK_ESCAPE}, false, {1, 1, 1, 1, 1}},
        {"cursor outside the view", {0, 1}, 2, true, {VK_ESCAPE}, false, {1, 1, 1, 1, 1}},
        {"menu closed with Escape", {0, 1}, 3, false, {VK_ESCAPE}, true, {1, 1, 1, 1, 1}},
        {"Unckeck picked", {0, 1}, 2, false, {VK_DOWN, VK_DOWN, VK_RETURN}, true, {0, 0, 1, 1, 1}},
        {"Check picked", {1, 4}, 0, false, {VK_DOWN, VK_RETURN}, true, {0, 1, 1, 1, 1}},
    };
    // Successive presses land on different rows, so that none of them makes
    // a double click with the one before.
    for (const auto& step : steps) {
        SCOPED_TRACE(step.pszWhat);
        Select(step.selection);
        CMenuAnswerer answerer(step.keys);
        const POINT point = RowPoint(step.nRow, LVIR_LABEL);
        if (step.bCursorOutside) {
            PutCursor(StatusBar(), onStatusBar);
            HandleInput();
            // The release waits in the queue while the press is handled.
            PostMessageA(View(), WM_RBUTTONUP, 0, MAKELPARAM(point.x, point.y));
            SendMessageA(View(), WM_RBUTTONDOWN, MK_RBUTTON, MAKELPARAM(point.x, point.y));
        } else {
            PutCursor(View(), point);
            PressMouse({MOUSEEVENTF_RIGHTDOWN, MOUSEEVENTF_RIGHTUP});
        }
        HandleInput();
        if (step.bMenu)
            EXPECT_EQ(answerer.Shown(), std::vector<std::vector<std::string>>{editItems});
        else
            EXPECT_TRUE(answerer.Shown().empty());
        EXPECT_EQ(Selected(), step.selection) << "the right click left the selection as it was";
        EXPECT_EQ(Checks(), step.checks);
    }
}
