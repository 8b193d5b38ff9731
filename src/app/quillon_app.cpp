#include "app/quillon_app.h"

#include "app/about_dlg.h"
#include "app/main_frame.h"

#include <clocale>
#include <commctrl.h>
#include <objbase.h>

CQuillonApp::~CQuillonApp() { delete m_pMainWnd; }

BOOL CQuillonApp::InitInstance() {
    // No system boxes for critical errors or faults.
    SetErrorMode(SEM_FAILCRITICALERRORS | SEM_NOGPFAULTERRORBOX);
    setlocale(LC_ALL, "English_USA.1252");
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_LISTVIEW_CLASSES | ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    // The folder picker is a shell (COM) object.
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);

    auto* pFrame = new CMainFrame;
    m_pMainWnd = pFrame;
    if (!pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW))
        return FALSE;
    SetWindowTextA(pFrame->GetHwnd(), "Quillon - Vantrel");
    ShowWindow(pFrame->GetHwnd(), SW_SHOW);
    UpdateWindow(pFrame->GetHwnd());
    return TRUE;
}

BOOL CQuillonApp::OnCommand(UINT nId) {
    if (nId == ID_APP_ABOUT) {
        OnAppAbout();
        return TRUE;
    }
    return CApplication::OnCommand(nId);
}

void CQuillonApp::OnAppAbout() {
    CAboutDlg dialog(GetMainHwnd());
    dialog.DoModal();
}
