#ifndef QUILLON_APP_SEARCH_OPTIONS_DLG_H
#define QUILLON_APP_SEARCH_OPTIONS_DLG_H

#include "platform/dialog.h"

#include <string>

// Asks for the find text and the replace text, each typed or picked with
// the folder picker of the button beside it. OK is accepted only when both
// are given and they differ other than in letter case.
class CSearchOptionsDlg : public CModalDialog {
public:
    explicit CSearchOptionsDlg(HWND hWndParent = nullptr);

    std::string m_strFindWhat;
    std::string m_strReplaceWith;

    // Runs the folder picker: TRUE and the folder's path when the user chose
    // one, FALSE when the user cancelled.
    BOOL BrowseDirectory(std::string& strFolder);
    // Puts a picked folder into strTarget and shows it in the fields.
    void OnBrowse(std::string& strTarget);

protected:
    void DoDataExchange(CDataExchange& dx) override;
    BOOL OnInitDialog() override;
    void OnOK() override;
    BOOL OnCommand(WORD nId, WORD nNotifyCode) override;

    void OnBrowseFindWhat();
    void OnBrowseReplaceWith();
};

#endif
