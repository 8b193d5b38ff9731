#include "app/search_options_dlg.h"

#include "platform/ansi_text.h"
#include "platform/message_box.h"
#include "res/resource.h"

#include <shlobj.h>

CSearchOptionsDlg::CSearchOptionsDlg(HWND hWndParent)
    : CModalDialog(IDD_SEARCH_OPTIONS, hWndParent) {}

void CSearchOptionsDlg::DoDataExchange(CDataExchange& dx) {
    DDX_Text(dx, IDC_FIND_WHAT, m_strFindWhat);
    DDX_Text(dx, IDC_REPLACE_WITH, m_strReplaceWith);
}

BOOL CSearchOptionsDlg::OnInitDialog() {
    CModalDialog::OnInitDialog();
    try {
        if (HICON hFolder = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_FOLDER))) {
            for (int nButton : {IDC_BROWSE_FIND_WHAT, IDC_BROWSE_REPLACE_WITH})
                SendDlgItemMessageA(m_hWnd, nButton, BM_SETIMAGE, IMAGE_ICON,
                                    reinterpret_cast<LPARAM>(hFolder));
        }
    } catch (...) {
        ReportException("CSearchOptionsDlg::OnInitDialog");
    }
    return TRUE; // the system gives the focus to the first tab stop, OK
}

namespace {

// Equal when letter case is ignored, letters beyond a to z included.
bool SameIgnoringCase(const std::string& strA, const std::string& strB) {
    return AnsiUpperCopy(strA) == AnsiUpperCopy(strB);
}

} // namespace

void CSearchOptionsDlg::OnOK() {
    try {
        UpdateData(TRUE);
        int nFocus = 0;
        if (m_strFindWhat.empty()) {
            AppMessageBox("'Find What' Is Needed, and Cannot Be Empty.", MB_OK);
            nFocus = IDC_FIND_WHAT;
        } else if (m_strReplaceWith.empty()) {
            AppMessageBox("'Replace With' Is Needed, and Cannot Be Empty.", MB_OK);
            nFocus = IDC_REPLACE_WITH;
        } else if (SameIgnoringCase(m_strFindWhat, m_strReplaceWith)) {
            AppMessageBox("'Find What' And 'Replace With' Cannot Be The Same.", MB_OK);
            nFocus = IDC_FIND_WHAT;
        }
        if (nFocus) {
            SetFocus(GetDlgItem(m_hWnd, nFocus));
            return;
        }
        CModalDialog::OnOK();
    } catch (...) {
        ReportException("CSearchOptionsDlg::OnOK");
        EndDialog(IDCANCEL);
    }
}

BOOL CSearchOptionsDlg::OnCommand(WORD nId, WORD nNotifyCode) {
    if (nNotifyCode != BN_CLICKED)
        return FALSE;
    if (nId == IDC_BROWSE_FIND_WHAT) {
        OnBrowseFindWhat();
        return TRUE;
    }
    if (nId == IDC_BROWSE_REPLACE_WITH) {
        OnBrowseReplaceWith();
        return TRUE;
    }
    return FALSE;
}

void CSearchOptionsDlg::OnBrowseFindWhat() {
    try {
        UpdateData(TRUE); // keeps what was typed in either field
        OnBrowse(m_strFindWhat);
    } catch (...) {
        ReportException("CSearchOptionsDlg::OnBrowseFindWhat");
    }
}

void CSearchOptionsDlg::OnBrowseReplaceWith() {
    try {
        UpdateData(TRUE);
        OnBrowse(m_strReplaceWith);
    } catch (...) {
        ReportException("CSearchOptionsDlg::OnBrowseReplaceWith");
    }
}

void CSearchOptionsDlg::OnBrowse(std::string& strTarget) {
    try {
        std::string strPath;
        if (BrowseDirectory(strPath) && !strPath.empty()) {
            strTarget = strPath;
            UpdateData(FALSE);
        }
    } catch (...) {
        ReportException("CSearchOptionsDlg::OnBrowse");
    }
}

BOOL CSearchOptionsDlg::BrowseDirectory(std::string& strFolder) {
    IMalloc* pMalloc = nullptr;
    try {
        if (FAILED(SHGetMalloc(&pMalloc)) || !pMalloc)
            return FALSE;
        BROWSEINFOA info{};
        info.hwndOwner = m_hWnd;
        info.ulFlags = BIF_RETURNONLYFSDIRS;
        LPITEMIDLIST pItems = SHBrowseForFolderA(&info);
        if (!pItems) {
            pMalloc->Release();
            return FALSE;
        }
        char szPath[MAX_PATH + 1] = "";
        SHGetPathFromIDListA(pItems, szPath);
        strFolder = szPath;
        pMalloc->Free(pItems);
        pMalloc->Release();
        return TRUE;
    } catch (...) {
        if (pMalloc)
            pMalloc->Release();
        ReportException("CSearchOptionsDlg::BrowseDirectory");
        return FALSE;
    }
}
