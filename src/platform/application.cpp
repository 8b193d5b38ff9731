#include "platform/application.h"

#include "platform/frame_window.h"
#include "platform/ids.h"

namespace {

CApplication* g_pApplication = nullptr;

} // namespace

CApplication::CApplication() { g_pApplication = this; }

CApplication::~CApplication() {
    if (g_pApplication == this)
        g_pApplication = nullptr;
}

CApplication* CApplication::Get() { return g_pApplication; }

HWND CApplication::GetMainHwnd() const { return m_pMainWnd ? m_pMainWnd->GetHwnd() : nullptr; }

BOOL CApplication::OnCommand(UINT nId) {
    if (nId == ID_APP_EXIT) {
        if (HWND hWnd = GetMainHwnd())
            SendMessageA(hWnd, WM_CLOSE, 0, 0);
        return TRUE;
    }
    return FALSE;
}

int CApplication::Run() {
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0) > 0) {
        if (m_pMainWnd && m_pMainWnd->PreTranslateMessage(&msg))
            continue;
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
