#ifndef QUILLON_SEARCH_PROGRESS_TEXTS_H
#define QUILLON_SEARCH_PROGRESS_TEXTS_H

#include <windows.h>

#include <string>

// The progress count as the status bar shows it: "<n> Keys Proceeded.".
std::string KeyCountText(int nCount);

// Sends the two progress texts of a key to the window that shows them: the
// count with nMsgKeyCount, the key's full name with nMsgKeyPath. A message
// number of 0 sends nothing. Each send waits until the window has shown it.
void SendProgressTexts(HWND hWndNotify, UINT nMsgKeyCount, UINT nMsgKeyPath, int nCount,
                       const std::string& strFullName);

#endif
