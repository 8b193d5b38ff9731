#include "platform/dialog.h"

#include "platform/application.h"

void DDX_Text(CDataExchange& dx, int nId, std::string& strValue) {
    HWND hControl = GetDlgItem(dx.m_hDlg, nId);
    if (!dx.m_bSaveAndValidate) {
        SetWindowTextA(hControl, strValue.c_str());
        return;
    }
    const int nLength = GetWindowTextLengthA(hControl);
    std::string text(nLength + 1, '\0');
    const int nCopied = GetWindowTextA(hControl, text.data(), nLength + 1);
    text.resize(nCopied > 0 ? nCopied : 0);
    strValue = text;
}

INT_PTR CModalDialog::DoModal() {
    HWND hWndOwner = m_hWndParent;
    if (!hWndOwner && CApplication::Get())
        hWndOwner = CApplication::Get()->GetMainHwnd();
    return DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(m_nIdTemplate), hWndOwner,
                           DialogProc, reinterpret_cast<LPARAM>(this));
}

BOOL CModalDialog::OnInitDialog() {
    UpdateData(FALSE);
    return TRUE;
}

void CModalDialog::OnOK() {
    if (UpdateData(TRUE))
        EndDialog(IDOK);
}

void CModalDialog::OnCancel() { EndDialog(IDCANCEL); }

BOOL CModalDialog::OnCommand(WORD, WORD) { return FALSE; }

BOOL CModalDialog::UpdateData(BOOL bSaveAndValidate) {
    CDataExchange dx(m_hWnd, bSaveAndValidate != FALSE);
    DoDataExchange(dx);
    return TRUE;
}

void CModalDialog::EndDialog(INT_PTR nResult) { ::EndDialog(m_hWnd, nResult); }

INT_PTR CALLBACK CModalDialog::DialogProc(HWND hDlg, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == WM_INITDIALOG) {
        auto* pDialog = reinterpret_cast<CModalDialog*>(lParam);
        SetWindowLongPtrA(hDlg, DWLP_USER, lParam);
        pDialog->m_hWnd = hDlg;
        try {
            return pDialog->OnInitDialog();
        } catch (...) {
            return TRUE;
        }
    }
    auto* pDialog = reinterpret_cast<CModalDialog*>(GetWindowLongPtrA(hDlg, DWLP_USER));
    if (!pDialog || nMsg != WM_COMMAND)
        return FALSE;
    try {
        const WORD nId = LOWORD(wParam);
        if (nId == IDOK)
            pDialog->OnOK();
        else if (nId == IDCANCEL)
            pDialog->OnCancel();
        else
            return pDialog->OnCommand(nId, HIWORD(wParam));
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}
