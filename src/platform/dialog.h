#ifndef QUILLON_PLATFORM_DIALOG_H
#define QUILLON_PLATFORM_DIALOG_H

#include <windows.h>

#include <string>

// Moves texts between a dialog's edit controls and the dialog's members:
// from the controls when saving, into them otherwise.
class CDataExchange {
public:
    CDataExchange(HWND hDlg, bool bSaveAndValidate)
        : m_hDlg(hDlg), m_bSaveAndValidate(bSaveAndValidate) {}
    HWND m_hDlg;
    bool m_bSaveAndValidate;
};

// The whole text of control nId, however long, or the text put into it.
void DDX_Text(CDataExchange& dx, int nId, std::string& strValue);

// A modal dialog on a dialog template of the program's resources.
class CModalDialog {
public:
    // Without a parent the dialog is owned by the application's main window.
    explicit CModalDialog(UINT nIdTemplate, HWND hWndParent = nullptr)
        : m_nIdTemplate(nIdTemplate), m_hWndParent(hWndParent) {}
    virtual ~CModalDialog() = default;
    CModalDialog(const CModalDialog&) = delete;
    CModalDialog& operator=(const CModalDialog&) = delete;

    // Runs the dialog; IDOK or IDCANCEL (or -1 when it cannot be shown).
    INT_PTR DoModal();
    HWND GetHwnd() const { return m_hWnd; }

protected:
    virtual void DoDataExchange(CDataExchange&) {}
    // Fills the controls from the members; TRUE lets the system set the focus.
    virtual BOOL OnInitDialog();
    // Reads the controls into the members and ends the dialog with IDOK.
    virtual void OnOK();
    virtual void OnCancel();
    // A command from a control other than OK and Cancel; TRUE when handled.
    virtual BOOL OnCommand(WORD nId, WORD nNotifyCode);

    BOOL UpdateData(BOOL bSaveAndValidate = TRUE);
    void EndDialog(INT_PTR nResult);

    HWND m_hWnd = nullptr;

private:
    static INT_PTR CALLBACK DialogProc(HWND hDlg, UINT nMsg, WPARAM wParam, LPARAM lParam);

    UINT m_nIdTemplate;
    HWND m_hWndParent;
};

#endif
