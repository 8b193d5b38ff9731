#include "app/main_frame.h"

#include "app/search_options_dlg.h"
#include "platform/message_box.h"
#include "search/registry_walker.h"

namespace {

// The root keys, in the order in which a search walks them.
const struct {
    HKEY hKey;
    const char* pszName;
    const char* pszReportName; // names the walk in an exception report
} kRootKeys[] = {
    {HKEY_CLASSES_ROOT, "HKEY_CLASSES_ROOT", "RecurseRegistry( HKEY_CLASSES_ROOT )"},
    {HKEY_CURRENT_USER, "HKEY_CURRENT_USER", "RecurseRegistry( HKEY_CURRENT_USER )"},
    {HKEY_LOCAL_MACHINE, "HKEY_LOCAL_MACHINE", "RecurseRegistry( HKEY_LOCAL_MACHINE )"},
    {HKEY_USERS, "HKEY_USERS", "RecurseRegistry( HKEY_USERS )"},
    {HKEY_CURRENT_CONFIG, "HKEY_CURRENT_CONFIG", "RecurseRegistry( HKEY_CURRENT_CONFIG )"},
};

} // namespace

void CMainFrame::OnSearch() {
    try {
        // One worker at a time: also while one is starting or stopping, when
        // the run flag alone reads 0.
        if (m_bSearching != 0 || m_hSearchThread.load() != nullptr)
            return;
        CSearchOptionsDlg dialog;
        if (dialog.DoModal() != IDOK)
            return;
        m_strFind = dialog.m_strFindWhat;
        m_strReplace = dialog.m_strReplaceWith;
        GetShortPath(m_strFind, m_strFindShort);
        GetShortPath(m_strReplace, m_strReplaceShort);
        m_wndView.Rows().DeleteAllRows();

        // The flag is raised before the worker exists, so that a close request
        // that comes before the worker's first step is not lost; the worker is
        // created suspended, so that its handle is stored before it can run to
        // its end and clear it.
        m_bSearching = 1;
        HANDLE hThread =
            CreateThread(nullptr, 0, fnSearchWorkerThread, this, CREATE_SUSPENDED, nullptr);
        if (!hThread) {
            m_bSearching = 0;
            return;
        }
        m_hSearchThread = hThread;
        ResumeThread(hThread);
    } catch (...) {
        ReportException("CMainFrame::OnSearch");
    }
}

DWORD WINAPI fnSearchWorkerThread(LPVOID pParam) {
    auto* pFrame = static_cast<CMainFrame*>(pParam);
    if (!pFrame)
        return 0;
    DWORD nExitCode = 1;
    CSearchPacer pacer(WM_APPEND_ROWS);
    try {
        int nKeyCount = 0;
        for (const auto& root : kRootKeys) {
            try {
                const std::string strFind = pFrame->m_strFind;
                const std::string strFindShort = pFrame->m_strFindShort;
                RecurseRegistry(pFrame->GetHwnd(), pFrame->m_wndView.GetHwnd(), WM_SHOW_KEY_COUNT,
                                WM_SHOW_KEY_PATH, &pFrame->m_bSearching, strFind, strFindShort,
                                root.pszName, "", root.hKey, &nKeyCount, RegistryOps::Real(),
                                &pacer);
            } catch (...) {
                ReportException(root.pszReportName);
            }
        }
    } catch (...) {
        ReportException("fnSearchWorkerThread");
        nExitCode = 0;
    }
    try {
        // The panes end on the last key entered, and every row found is shown.
        pacer.Flush(pFrame->GetHwnd(), WM_SHOW_KEY_COUNT, WM_SHOW_KEY_PATH);
    } catch (...) {
        ReportException("fnSearchWorkerThread");
        nExitCode = 0;
    }
    pFrame->m_bSearching = 0;
    // The worker releases its own handle: nothing ever waits on it.
    if (HANDLE hThread = pFrame->m_hSearchThread.exchange(nullptr))
        CloseHandle(hThread);
    AppMessageBox("Search Through the Registry is Terminated.", MB_OK | MB_ICONINFORMATION);
    return nExitCode;
}
