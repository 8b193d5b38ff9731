#include "support/window_search.h"

namespace {

BOOL CALLBACK MatchOne(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<std::pair<const std::function<bool(HWND)>*, HWND>*>(lParam);
    if (!(*pSearch->first)(hWnd))
        return TRUE;
    pSearch->second = hWnd;
    return FALSE;
}

} // namespace

HWND FindTopLevelWindow(const std::function<bool(HWND)>& bMatch) {
    std::pair<const std::function<bool(HWND)>*, HWND> search{&bMatch, nullptr};
    EnumWindows(MatchOne, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

HWND FindChildWindow(HWND hParent, const std::function<bool(HWND)>& bMatch) {
    std::pair<const std::function<bool(HWND)>*, HWND> search{&bMatch, nullptr};
    EnumChildWindows(hParent, MatchOne, reinterpret_cast<LPARAM>(&search));
    return search.second;
}

std::string WindowClassName(HWND hWnd) {
    char szClass[256] = "";
    GetClassNameA(hWnd, szClass, sizeof szClass);
    return szClass;
}

HWND FindShownMenu(DWORD nProcessId) {
    return FindTopLevelWindow([nProcessId](HWND hWnd) {
        DWORD nOwner = 0;
        GetWindowThreadProcessId(hWnd, &nOwner);
        return nOwner == nProcessId && IsWindowVisible(hWnd) && WindowClassName(hWnd) == "#32768";
    });
}
