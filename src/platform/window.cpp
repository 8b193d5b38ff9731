#include "platform/window.h"

namespace {

// A control keeps its own data where it likes, so a subclassed control
// carries its object in a window property rather than in its user data.
const char kObjectProperty[] = "QuillonWindowObject";

} // namespace

CWindow::~CWindow() {
    // A window that outlives its object must not call into it any more.
    if (m_hWnd && IsWindow(m_hWnd)) {
        if (m_pfnControlProc) {
            SetWindowLongPtrA(m_hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(m_pfnControlProc));
            RemovePropA(m_hWnd, kObjectProperty);
        } else {
            SetWindowLongPtrA(m_hWnd, GWLP_USERDATA, 0);
        }
        DestroyWindow(m_hWnd);
    }
}

HWND CWindow::CreateEx(DWORD dwExStyle, const char* pszClass, const char* pszTitle,
                       DWORD dwStyle, int x, int y, int cx, int cy, HWND hWndParent,
                       HMENU hMenuOrId) {
    return CreateWindowExA(dwExStyle, pszClass, pszTitle, dwStyle, x, y, cx, cy, hWndParent,
                           hMenuOrId, GetModuleHandleA(nullptr), this);
}

void CWindow::Subclass(HWND hWnd) {
    m_hWnd = hWnd;
    SetPropA(hWnd, kObjectProperty, this);
    m_pfnControlProc = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(hWnd, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(SubclassWndProc)));
}

LRESULT CWindow::WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    return DefaultProc(nMsg, wParam, lParam);
}

LRESULT CWindow::DefaultProc(UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (m_pfnControlProc)
        return CallWindowProcA(m_pfnControlProc, m_hWnd, nMsg, wParam, lParam);
    return DefWindowProcA(m_hWnd, nMsg, wParam, lParam);
}

LRESULT CALLBACK CWindow::StandardWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_NCCREATE) {
        auto* pCreate = reinterpret_cast<CREATESTRUCTA*>(lParam);
        auto* pWindow = static_cast<CWindow*>(pCreate->lpCreateParams);
        if (pWindow) {
            pWindow->m_hWnd = hWnd;
            SetWindowLongPtrA(hWnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(pWindow));
        }
    }
    auto* pWindow = reinterpret_cast<CWindow*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
    if (!pWindow)
        return DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return Dispatch(pWindow, hWnd, nMsg, wParam, lParam);
}

LRESULT CALLBACK CWindow::SubclassWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    auto* pWindow = static_cast<CWindow*>(GetPropA(hWnd, kObjectProperty));
    if (!pWindow)
        return DefWindowProcA(hWnd, nMsg, wParam, lParam);
    return Dispatch(pWindow, hWnd, nMsg, wParam, lParam);
}

LRESULT CWindow::Dispatch(CWindow* pWindow, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    LRESULT nResult = 0;
    try {
        nResult = pWindow->WindowProc(nMsg, wParam, lParam);
    } catch (...) {
        nResult = pWindow->DefaultProc(nMsg, wParam, lParam);
    }
    if (nMsg == WM_NCDESTROY) {
        // The window is gone: the object no longer stands for it.
        if (pWindow->m_pfnControlProc)
            RemovePropA(hWnd, kObjectProperty);
        else
            SetWindowLongPtrA(hWnd, GWLP_USERDATA, 0);
        pWindow->m_hWnd = nullptr;
    }
    return nResult;
}
