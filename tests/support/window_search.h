#ifndef QUILLON_TESTS_SUPPORT_WINDOW_SEARCH_H
#define QUILLON_TESTS_SUPPORT_WINDOW_SEARCH_H

#include <windows.h>

#include <functional>
#include <string>

// Finding windows the way a user's eye does: by what they are.

// The first top-level window for which bMatch is true, or null.
HWND FindTopLevelWindow(const std::function<bool(HWND)>& bMatch);
// The first window below hParent (at any depth) for which bMatch is true.
HWND FindChildWindow(HWND hParent, const std::function<bool(HWND)>& bMatch);

std::string WindowClassName(HWND hWnd);
// The menu that the process shows (a window of class #32768), or null.
HWND FindShownMenu(DWORD nProcessId);

#endif
