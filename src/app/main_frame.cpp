#include "app/main_frame.h"

#include "platform/message_box.h"
#include "res/resource.h"

#include <stdexcept>

namespace {

// The text of the frame's title bar and the name of its window class.
const char kFrameClassName[] = "Quillon - Vantrel";

const UINT kIndicators[] = {ID_SEPARATOR,      ID_INDICATOR_KEYCOUNT, ID_INDICATOR_KEYPATH,
                            ID_INDICATOR_CAPS, ID_INDICATOR_NUM,      ID_INDICATOR_SCRL};

} // namespace

CMainFrame::~CMainFrame() = default;

BOOL CMainFrame::PreCreateWindow(CREATESTRUCTA& cs) {
    if (!CFrameWindow::PreCreateWindow(cs))
        return FALSE;
    const char* pszBaseClass = cs.lpszClass;
    try {
        HINSTANCE hInstance = GetModuleHandleA(nullptr);
        WNDCLASSA wc{};
        if (!GetClassInfoA(hInstance, cs.lpszClass, &wc))
            throw std::runtime_error("no window class");
        // A class of our own name: the whole window is repainted only where
        // needed, and the title bar shows the program's icon.
        wc.lpszClassName = kFrameClassName;
        wc.style &= ~(CS_HREDRAW | CS_VREDRAW);
        wc.hIcon = LoadIconA(hInstance, MAKEINTRESOURCEA(IDR_MAINFRAME));
        if (!RegisterClassA(&wc) && GetLastError() != ERROR_CLASS_ALREADY_EXISTS)
            throw std::runtime_error("cannot register the window class");
        cs.lpszClass = kFrameClassName;
    } catch (...) {
        ReportException("CMainFrame::PreCreateWindow");
        cs.lpszClass = pszBaseClass;
    }
    return TRUE;
}

int CMainFrame::OnCreate(CREATESTRUCTA* pCreate) {
    try {
        if (CFrameWindow::OnCreate(pCreate) == -1)
            return -1;
        const RECT empty{};
        if (!m_wndView.Create(WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | WS_CLIPCHILDREN |
                                  WS_BORDER | LVS_REPORT | LVS_AUTOARRANGE,
                              empty, m_hWnd, AFX_IDW_PANE_FIRST)) {
            AppMessageBox("Failed to Create View Window.", MB_OK);
            return -1;
        }
        if (!m_wndStatusBar.Create(m_hWnd, WS_CHILD | WS_VISIBLE, AFX_IDW_STATUS_BAR) ||
            !m_wndStatusBar.SetIndicators(kIndicators, sizeof kIndicators / sizeof *kIndicators)) {
            AppMessageBox("Failed to Create Status Bar.", MB_OK);
            return -1;
        }
        CenterWindow();
        return 0;
    } catch (...) {
        ReportException("CMainFrame::OnCreate");
        return -1;
    }
}

void CMainFrame::OnSetFocus(HWND) {
    if (m_wndView.GetHwnd())
        SetFocus(m_wndView.GetHwnd());
}

BOOL CMainFrame::OnCmdMsg(UINT nId, int nCode) {
    // The view first: the Edit menu's commands are the view's.
    if (m_wndView.GetHwnd() && m_wndView.OnCmdMsg(nId, nCode))
        return TRUE;
    switch (nId) {
    case ID_TOOL_SEARCH:
        OnSearch();
        return TRUE;
    case ID_TOOL_EXPORTCHANGES:
        OnCommit();
        return TRUE;
    }
    return CFrameWindow::OnCmdMsg(nId, nCode);
}

void CMainFrame::ShowInPane(UINT nPaneId, const char* pszText) {
    m_wndStatusBar.SetPaneText(m_wndStatusBar.CommandToIndex(nPaneId), pszText ? pszText : "");
    UpdateWindow(m_wndStatusBar.GetHwnd());
}

LRESULT CMainFrame::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    try {
        switch (nMsg) {
        case WM_SHOW_KEY_COUNT:
            ShowInPane(ID_INDICATOR_KEYCOUNT, reinterpret_cast<const char*>(lParam));
            break;
        case WM_SHOW_KEY_PATH:
            ShowInPane(ID_INDICATOR_KEYPATH, reinterpret_cast<const char*>(lParam));
            break;
        case WM_APPEND_ROWS:
            m_wndView.Rows().AppendRows(reinterpret_cast<const ResultRow*>(lParam), wParam);
            return 0;
        case WM_CLOSE: {
            // Whether a worker exists is read before it is asked to stop: read
            // after, a worker that stopped at once could already have let go
            // of its handle, and the frame would close under it.
            const bool bWorker = m_hSearchThread.load() != nullptr;
            // Always before any box: a running search takes this as the
            // request to stop.
            m_bSearching = 0;
            if (bWorker) {
                AppMessageBox("Please Wait Until The Search Is Terminated.",
                              MB_OK | MB_ICONINFORMATION);
                return 0;
            }
            if (m_bExporting != 0) {
                AppMessageBox("Please Wait Until The Changes Export Is Terminated.",
                              MB_OK | MB_ICONINFORMATION);
                return 0;
            }
            break;
        }
        }
    } catch (...) {
        ReportException("CMainFrame::WindowProc");
    }
    return CFrameWindow::WindowProc(nMsg, wParam, lParam);
}
