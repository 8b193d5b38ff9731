#include "platform/message_box.h"

#include "platform/application.h"

const char* const kAppTitle = "Quillon";

int AppMessageBox(const std::string& strText, UINT nType) {
    if ((nType & MB_ICONMASK) == 0)
        nType |= MB_ICONEXCLAMATION;
    HWND hWndOwner = GetActiveWindow();
    if (!hWndOwner && CApplication::Get())
        hWndOwner = CApplication::Get()->GetMainHwnd();
    return MessageBoxA(hWndOwner, strText.c_str(), kAppTitle, nType);
}

void ReportException(const char* pszFunctionName) {
    AppMessageBox(std::string("An Exception Has Occured In '") + pszFunctionName + "'.",
                  MB_OK | MB_ICONINFORMATION);
}
