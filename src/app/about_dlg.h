#ifndef QUILLON_APP_ABOUT_DLG_H
#define QUILLON_APP_ABOUT_DLG_H

#include "platform/dialog.h"
#include "res/resource.h"

// The About box: the icon, the version line and the notice picture.
class CAboutDlg : public CModalDialog {
public:
    explicit CAboutDlg(HWND hWndParent = nullptr) : CModalDialog(IDD_ABOUTBOX, hWndParent) {}
};

#endif
