#include "results/child_view.h"

#include "platform/message_box.h"
#include "res/resource.h"

#include <windowsx.h>

namespace {

const COLORREF kTextColour = RGB(255, 255, 255);
const COLORREF kBackColour = RGB(0, 0, 255);

// Column titles and their shares of the view's width.
const struct {
    const char* pszTitle;
    double dShare;
} kColumns[] = {{"Root Key", 0.2}, {"Key", 0.5}, {"Name", 0.15}, {"Value", 0.15}};

} // namespace

CChildView::~CChildView() {
    // The control does not share its image lists, so it releases the check
    // images itself when the base class destroys it.
    m_pImageList = nullptr;
}

BOOL CChildView::Create(DWORD dwStyle, const RECT& rect, HWND hWndParent, UINT nId) {
    CREATESTRUCTA cs{};
    cs.style = dwStyle;
    cs.x = rect.left;
    cs.y = rect.top;
    cs.cx = rect.right - rect.left;
    cs.cy = rect.bottom - rect.top;
    cs.hwndParent = hWndParent;
    cs.lpszClass = WC_LISTVIEWA;
    if (!PreCreateWindow(cs))
        return FALSE;
    HWND hWnd = CreateWindowExA(cs.dwExStyle, cs.lpszClass, "", cs.style, cs.x, cs.y, cs.cx,
                                cs.cy, hWndParent,
                                reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)),
                                GetModuleHandleA(nullptr), nullptr);
    if (!hWnd)
        return FALSE;
    Subclass(hWnd);
    if (OnCreate() == -1) {
        DestroyWindow(hWnd);
        return FALSE;
    }
    return TRUE;
}

BOOL CChildView::PreCreateWindow(CREATESTRUCTA& cs) {
    try {
        // A sunken edge instead of a flat border.
        cs.dwExStyle |= WS_EX_CLIENTEDGE;
        cs.style &= ~WS_BORDER;
        return TRUE;
    } catch (...) {
        ReportException("CChildView::PreCreateWindow");
        return FALSE;
    }
}

int CChildView::OnCreate() {
    try {
        SendMessageA(m_hWnd, LVM_SETTEXTCOLOR, 0, kTextColour);
        SendMessageA(m_hWnd, LVM_SETTEXTBKCOLOR, 0, kBackColour);
        SendMessageA(m_hWnd, LVM_SETBKCOLOR, 0, kBackColour);

        m_pImageList = ImageList_Create(16, 16, ILC_MASK, 0, 2);
        if (!m_pImageList) {
            AppMessageBox("Cannot Create The Check Mark Images.", MB_OK | MB_ICONEXCLAMATION);
            return 0;
        }
        HINSTANCE hInstance = GetModuleHandleA(nullptr);
        for (UINT nIcon : {IDI_UNCHECKED, IDI_CHECKED})
            ImageList_ReplaceIcon(m_pImageList, -1, LoadIconA(hInstance, MAKEINTRESOURCEA(nIcon)));
        SendMessageA(m_hWnd, LVM_SETIMAGELIST, LVSIL_SMALL,
                     reinterpret_cast<LPARAM>(m_pImageList));
        SendMessageA(m_hWnd, LVM_SETEXTENDEDLISTVIEWSTYLE, 0, LVS_EX_GRIDLINES);

        for (int i = 0; i < 4; ++i) {
            LVCOLUMNA column{};
            column.mask = LVCF_FMT | LVCF_WIDTH | LVCF_TEXT | LVCF_SUBITEM;
            column.fmt = LVCFMT_LEFT;
            column.cx = 0;
            column.pszText = const_cast<char*>(kColumns[i].pszTitle);
            column.iSubItem = i;
            SendMessageA(m_hWnd, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
        }
        Rows().DeleteAllRows();
        return 0;
    } catch (...) {
        ReportException("CChildView::OnCreate");
        return -1;
    }
}

void CChildView::OnSize(UINT, int cx, int cy) {
    try {
        if (cx <= 50 || cy <= 50)
            return;
        for (int i = 0; i < 4; ++i)
            SendMessageA(m_hWnd, LVM_SETCOLUMNWIDTH, i,
                         MAKELPARAM(static_cast<int>(cx * kColumns[i].dShare), 0));
    } catch (...) {
        ReportException("CChildView::OnSize");
    }
}

void CChildView::OnLButtonDown(UINT nFlags, POINT point) {
    try {
        // The control selects the row first (and follows the press until the
        // button is released); only then is the image slot under the cursor
        // looked at.
        DefaultProc(WM_LBUTTONDOWN, nFlags, MAKELPARAM(point.x, point.y));
        ProcessCheckBoxes();
    } catch (...) {
        ReportException("CChildView::OnLButtonDown");
    }
}

void CChildView::ProcessCheckBoxes() {
    try {
        POINT cursor{};
        GetCursorPos(&cursor);
        ScreenToClient(m_hWnd, &cursor);

        const int nRowCount = Rows().GetRowCount();
        const int nTop = static_cast<int>(SendMessageA(m_hWnd, LVM_GETTOPINDEX, 0, 0));
        int nLast = nTop + static_cast<int>(SendMessageA(m_hWnd, LVM_GETCOUNTPERPAGE, 0, 0));
        if (nLast > nRowCount - 1)
            nLast = nRowCount - 1;
        for (int nRow = nTop; nRow <= nLast; ++nRow) {
            RECT image{};
            image.left = LVIR_ICON;
            SendMessageA(m_hWnd, LVM_GETITEMRECT, nRow, reinterpret_cast<LPARAM>(&image));
            if (PtInRect(&image, cursor)) {
                SetRowCheck(nRow, GetRowCheck(nRow) == 0 ? 1 : 0);
                return;
            }
            Sleep(0);
        }
    } catch (...) {
        ReportException("CChildView::ProcessCheckBoxes");
    }
}

void CChildView::SetSelectedChecks(int nCheck) {
    // The next selected row is found before the current one changes.
    int nRow = static_cast<int>(SendMessageA(m_hWnd, LVM_GETNEXTITEM, -1, LVNI_SELECTED));
    while (nRow != -1) {
        const int nNext = static_cast<int>(SendMessageA(m_hWnd, LVM_GETNEXTITEM, nRow, LVNI_SELECTED));
        SetRowCheck(nRow, nCheck);
        nRow = nNext;
    }
}

void CChildView::OnCheckItems() {
    try {
        SetSelectedChecks(1);
    } catch (...) {
        ReportException("CChildView::OnCheckItems");
    }
}

void CChildView::OnUncheckItems() {
    try {
        SetSelectedChecks(0);
    } catch (...) {
        ReportException("CChildView::OnUncheckItems");
    }
}

void CChildView::OnRButtonDown(UINT, POINT) {
    HMENU hMenu = nullptr;
    try {
        POINT cursor{};
        if (!GetCursorPos(&cursor))
            return;
        RECT window{};
        GetWindowRect(m_hWnd, &window);
        if (!PtInRect(&window, cursor))
            return;
        if (SendMessageA(m_hWnd, LVM_GETSELECTEDCOUNT, 0, 0) == 0)
            return;
        hMenu = LoadMenuA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDR_MAINFRAME));
        if (HMENU hEdit = hMenu ? GetSubMenu(hMenu, 1) : nullptr)
            TrackPopupMenu(hEdit, TPM_CENTERALIGN, cursor.x, cursor.y, 0, m_hWnd, nullptr);
    } catch (...) {
        ReportException("CChildView::OnRButtonDown");
    }
    if (hMenu)
        DestroyMenu(hMenu);
}

BOOL CChildView::OnCmdMsg(UINT nId, int) {
    if (nId == ID_EDIT_CHECK) {
        OnCheckItems();
        return TRUE;
    }
    if (nId == ID_EDIT_UNCHECK) {
        OnUncheckItems();
        return TRUE;
    }
    return FALSE;
}

LRESULT CChildView::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    switch (nMsg) {
    case WM_SIZE: {
        const LRESULT nResult = DefaultProc(nMsg, wParam, lParam);
        OnSize(static_cast<UINT>(wParam), LOWORD(lParam), HIWORD(lParam));
        return nResult;
    }
    case WM_LBUTTONDOWN:
        OnLButtonDown(static_cast<UINT>(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK: // a quick second right click is a right click too
        // The control's own handling never runs: a right click leaves the
        // selection as it was, and the menu acts on it.
        OnRButtonDown(static_cast<UINT>(wParam), {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
        return 0;
    case WM_COMMAND:
        if (lParam == 0 && OnCmdMsg(LOWORD(wParam), HIWORD(wParam)))
            return 0;
        break;
    }
    return DefaultProc(nMsg, wParam, lParam);
}
