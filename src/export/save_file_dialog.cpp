#include "export/save_file_dialog.h"

#include <commdlg.h>

bool AskForSavePath(HWND hWndOwner, const char* pszTitle, std::string& strPath) {
    // The dialog's fixed buffer: room for the longest ordinary path.
    char szFile[261] = "";
    strPath.copy(szFile, 260);

    OPENFILENAMEA ofn{};
    ofn.lStructSize = OPENFILENAME_SIZE_VERSION_400A;
    ofn.hwndOwner = hWndOwner;
    ofn.hInstance = GetModuleHandleA(nullptr);
    ofn.lpstrFilter = "Registry File (*.reg)\0*.reg\0All Files (*.*)\0*.*\0";
    ofn.nFilterIndex = 1;
    ofn.lpstrFile = szFile;
    ofn.nMaxFile = 260;
    ofn.lpstrTitle = pszTitle;
    ofn.lpstrDefExt = "reg";
    ofn.Flags = OFN_EXPLORER | OFN_NOREADONLYRETURN | OFN_CREATEPROMPT | OFN_HIDEREADONLY |
                OFN_OVERWRITEPROMPT;
    if (!GetSaveFileNameA(&ofn))
        return false;
    strPath = szFile;
    return true;
}
