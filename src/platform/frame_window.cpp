#include "platform/frame_window.h"

#include "platform/application.h"
#include "platform/ids.h"

namespace {

const char kFrameClass[] = "QuillonFrame";

void RegisterFrameClass() {
    WNDCLASSA wc{};
    wc.style = CS_DBLCLKS | CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = CWindow::StandardWndProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512)); // the arrow
    wc.hIcon = LoadIconA(nullptr, MAKEINTRESOURCEA(32512));     // the application icon
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
    wc.lpszClassName = kFrameClass;
    RegisterClassA(&wc); // registered once: a second registration fails harmlessly
}

} // namespace

BOOL CFrameWindow::LoadFrame(UINT nIdResource, DWORD dwStyle) {
    const std::string strTitle = LoadResourceString(nIdResource);
    HINSTANCE hInstance = GetModuleHandleA(nullptr);
    m_hAccelTable = LoadAcceleratorsA(hInstance, MAKEINTRESOURCEA(nIdResource));

    CREATESTRUCTA cs{};
    cs.hInstance = hInstance;
    cs.hMenu = LoadMenuA(hInstance, MAKEINTRESOURCEA(nIdResource));
    cs.lpszName = strTitle.c_str();
    cs.style = dwStyle;
    cs.x = cs.y = cs.cx = cs.cy = CW_USEDEFAULT;
    if (!PreCreateWindow(cs)) {
        if (cs.hMenu)
            DestroyMenu(cs.hMenu);
        return FALSE;
    }
    if (!CreateEx(cs.dwExStyle, cs.lpszClass, cs.lpszName, cs.style, cs.x, cs.y, cs.cx, cs.cy,
                  cs.hwndParent, cs.hMenu)) {
        if (cs.hMenu)
            DestroyMenu(cs.hMenu);
        return FALSE;
    }
    return TRUE;
}

BOOL CFrameWindow::PreCreateWindow(CREATESTRUCTA& cs) {
    RegisterFrameClass();
    cs.lpszClass = kFrameClass;
    return TRUE;
}

int CFrameWindow::OnCreate(CREATESTRUCTA*) { return 0; }

void CFrameWindow::OnSetFocus(HWND) {}

BOOL CFrameWindow::PreTranslateMessage(MSG* pMsg) {
    if (pMsg->message < WM_KEYFIRST || pMsg->message > WM_KEYLAST)
        return FALSE;
    // The key state that GetKeyState reads is that of the message just taken.
    UpdateKeyIndicators();
    return m_hAccelTable && TranslateAcceleratorA(m_hWnd, m_hAccelTable, pMsg);
}

void CFrameWindow::RecalcLayout() {
    RECT client{};
    GetClientRect(m_hWnd, &client);
    CStatusBar* pStatusBar = GetStatusBar();
    if (pStatusBar && pStatusBar->GetHwnd() && IsWindowVisible(pStatusBar->GetHwnd())) {
        // The status bar first: it sets its own height at the bottom.
        SendMessageA(pStatusBar->GetHwnd(), WM_SIZE, 0, 0);
        pStatusBar->RecalcParts();
        RECT bar{};
        GetWindowRect(pStatusBar->GetHwnd(), &bar);
        client.bottom -= bar.bottom - bar.top;
    }
    if (HWND hView = GetDlgItem(m_hWnd, AFX_IDW_PANE_FIRST))
        MoveWindow(hView, client.left, client.top, client.right - client.left,
                   client.bottom > client.top ? client.bottom - client.top : 0, TRUE);
}

void CFrameWindow::CenterWindow() {
    RECT work{};
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    RECT window{};
    GetWindowRect(m_hWnd, &window);
    const int cx = window.right - window.left;
    const int cy = window.bottom - window.top;
    SetWindowPos(m_hWnd, nullptr, work.left + (work.right - work.left - cx) / 2,
                 work.top + (work.bottom - work.top - cy) / 2, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

BOOL CFrameWindow::OnCmdMsg(UINT nId, int) {
    if (nId == ID_VIEW_STATUS_BAR) {
        CStatusBar* pStatusBar = GetStatusBar();
        if (pStatusBar && pStatusBar->GetHwnd()) {
            const bool bVisible = IsWindowVisible(pStatusBar->GetHwnd()) != FALSE;
            ShowWindow(pStatusBar->GetHwnd(), bVisible ? SW_HIDE : SW_SHOW);
            RecalcLayout();
        }
        return TRUE;
    }
    CApplication* pApp = CApplication::Get();
    return pApp ? pApp->OnCommand(nId) : FALSE;
}

void CFrameWindow::ShowPrompt(UINT nIdItem) {
    CStatusBar* pStatusBar = GetStatusBar();
    if (!pStatusBar || !pStatusBar->GetHwnd())
        return;
    std::string strPrompt = nIdItem ? LoadResourceString(nIdItem) : std::string();
    strPrompt = strPrompt.substr(0, strPrompt.find('\n'));
    if (strPrompt.empty())
        strPrompt = LoadResourceString(AFX_IDS_IDLEMESSAGE);
    pStatusBar->SetPaneText(0, strPrompt);
    UpdateWindow(pStatusBar->GetHwnd());
}

void CFrameWindow::UpdateKeyIndicators() {
    CStatusBar* pStatusBar = GetStatusBar();
    if (!pStatusBar || !pStatusBar->GetHwnd())
        return;
    const struct {
        UINT nId;
        int nKey;
    } indicators[] = {{ID_INDICATOR_CAPS, VK_CAPITAL},
                      {ID_INDICATOR_NUM, VK_NUMLOCK},
                      {ID_INDICATOR_SCRL, VK_SCROLL}};
    for (const auto& indicator : indicators) {
        const int nIndex = pStatusBar->CommandToIndex(indicator.nId);
        if (nIndex < 0)
            continue;
        const bool bOn = (GetKeyState(indicator.nKey) & 1) != 0;
        const std::string strText = bOn ? LoadResourceString(indicator.nId) : std::string();
        if (pStatusBar->GetPaneText(nIndex) != strText)
            pStatusBar->SetPaneText(nIndex, strText);
    }
}

LRESULT CFrameWindow::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    switch (nMsg) {
    case WM_CREATE:
        if (OnCreate(reinterpret_cast<CREATESTRUCTA*>(lParam)) == -1)
            return -1;
        ShowPrompt(0);
        UpdateKeyIndicators();
        return 0;
    case WM_SIZE:
        RecalcLayout();
        return 0;
    case WM_SETFOCUS:
        OnSetFocus(reinterpret_cast<HWND>(wParam));
        return 0;
    case WM_ACTIVATE:
        UpdateKeyIndicators();
        break;
    case WM_COMMAND:
        // Menus and accelerators (no control window): commands.
        if (lParam == 0 && OnCmdMsg(LOWORD(wParam), HIWORD(wParam)))
            return 0;
        break;
    case WM_MENUSELECT: {
        const UINT nFlags = HIWORD(wParam);
        const bool bClosed = nFlags == 0xFFFF && lParam == 0;
        ShowPrompt(bClosed || (nFlags & (MF_POPUP | MF_SEPARATOR)) ? 0 : LOWORD(wParam));
        return 0;
    }
    case WM_EXITMENULOOP:
        ShowPrompt(0);
        return 0;
    case WM_INITMENUPOPUP: {
        CStatusBar* pStatusBar = GetStatusBar();
        const bool bShown = pStatusBar && pStatusBar->GetHwnd() &&
                            IsWindowVisible(pStatusBar->GetHwnd());
        CheckMenuItem(reinterpret_cast<HMENU>(wParam), ID_VIEW_STATUS_BAR,
                      MF_BYCOMMAND | (bShown ? MF_CHECKED : MF_UNCHECKED));
        return 0;
    }
    case WM_DESTROY:
        if (CApplication::Get() && CApplication::Get()->GetMainHwnd() == m_hWnd)
            PostQuitMessage(0);
        break;
    }
    return DefaultProc(nMsg, wParam, lParam);
}
