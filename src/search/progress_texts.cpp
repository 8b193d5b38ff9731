#include "search/progress_texts.h"

#include <cstdio>

std::string KeyCountText(int nCount) {
    char szCount[32];
    std::snprintf(szCount, sizeof szCount, "%i Keys Proceeded.", nCount);
    return szCount;
}

void SendProgressTexts(HWND hWndNotify, UINT nMsgKeyCount, UINT nMsgKeyPath, int nCount,
                       const std::string& strFullName) {
    if (nMsgKeyCount != 0) {
        const std::string strCount = KeyCountText(nCount);
        SendMessageA(hWndNotify, nMsgKeyCount, 0, reinterpret_cast<LPARAM>(strCount.c_str()));
    }
    if (nMsgKeyPath != 0)
        SendMessageA(hWndNotify, nMsgKeyPath, 0, reinterpret_cast<LPARAM>(strFullName.c_str()));
}
