// The search benchmark's Windows side. Two ways to search the whole registry
// for the same text, timed in this process:
//   bench_search.exe bare FIND    the walk with the registry calls alone: the
//                                 limit that any search can reach
//   bench_search.exe window FIND  the real search: the main window, the
//                                 search dialog answered as a user would, the
//                                 worker, the list and the status bar
// Each prints one line: "<mode> <seconds> <keys> <rows>".
#include "app/main_frame.h"
#include "app/quillon_app.h"
#include "res/resource.h"
#include "support/box_answerer.h"

#include <commctrl.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double SecondsSince(Clock::time_point start) {
    return std::chrono::duration<double>(Clock::now() - start).count();
}

// The registry calls of a search, in the same order and with the same
// buffers, and nothing else.
void BareWalk(HKEY hKey, long& nKeys) {
    DWORD nSubKeys = 0, nMaxSubKey = 0, nValues = 0, nMaxName = 0, nMaxData = 0;
    if (RegQueryInfoKeyW(hKey, nullptr, nullptr, nullptr, &nSubKeys, &nMaxSubKey, nullptr,
                         &nValues, &nMaxName, &nMaxData, nullptr, nullptr) != ERROR_SUCCESS)
        return;
    std::vector<wchar_t> name(nMaxName + 2);
    std::vector<BYTE> data(nMaxData + 2);
    for (DWORD i = 0; i < nValues; ++i) {
        DWORD cchName = nMaxName + 1, cbData = nMaxData, nType = 0;
        RegEnumValueW(hKey, i, name.data(), &cchName, nullptr, &nType, data.data(), &cbData);
    }
    std::vector<std::wstring> subKeys;
    std::vector<wchar_t> subKey(nMaxSubKey + 2);
    for (DWORD i = 0; i < nSubKeys; ++i) {
        DWORD cch = nMaxSubKey + 1;
        if (RegEnumKeyExW(hKey, i, subKey.data(), &cch, nullptr, nullptr, nullptr, nullptr) ==
            ERROR_SUCCESS)
            subKeys.emplace_back(subKey.data(), cch);
    }
    for (const std::wstring& nameOfSubKey : subKeys) {
        HKEY hSub = nullptr;
        if (RegOpenKeyExW(hKey, nameOfSubKey.c_str(), 0, KEY_READ, &hSub) != ERROR_SUCCESS)
            continue;
        ++nKeys;
        BareWalk(hSub, nKeys);
        RegCloseKey(hSub);
    }
}

int RunBare() {
    const Clock::time_point start = Clock::now();
    long nKeys = 0;
    for (HKEY hRoot : {HKEY_CLASSES_ROOT, HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE, HKEY_USERS,
                       HKEY_CURRENT_CONFIG})
        BareWalk(hRoot, nKeys);
    std::printf("bare %.3f %ld 0\n", SecondsSince(start), nKeys);
    return 0;
}

int RunWindow(const std::string& strFind) {
    CQuillonApp app;
    if (!app.InitInstance())
        return 1;
    auto* pFrame = static_cast<CMainFrame*>(app.m_pMainWnd);

    // The search dialog is answered as a user would. The answerer looks at
    // the windows a hundred times a second, and every look costs the Wine
    // server work that the search would wait for, so it is gone before the
    // search runs.
    Clock::time_point start{};
    {
        CBoxAnswerer dialogAnswerer([&](const CBoxAnswerer::Box& box) {
            if (box.strCaption != "Search Options")
                return 0;
            SetDlgItemTextA(box.hWnd, IDC_FIND_WHAT, strFind.c_str());
            SetDlgItemTextA(box.hWnd, IDC_REPLACE_WITH, "D:\\Elsewhere");
            start = Clock::now();
            return IDOK;
        });
        SendMessageA(pFrame->GetHwnd(), WM_COMMAND, ID_TOOL_SEARCH, 0);
    }
    // Serve the window, as its message loop would, until the worker has
    // finished its walk (it lets go of its handle right before its end box).
    MSG msg;
    while (pFrame->m_hSearchThread.load()) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    const double dSeconds = SecondsSince(start);

    // Dismiss the end box, so that the worker ends before the window goes.
    CBoxAnswerer endAnswerer(CBoxAnswerer::PressDefault);
    while (!endAnswerer.WaitForAnswers(1, 0)) {
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageA(&msg);
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 5, QS_ALLINPUT);
    }
    const std::string strCount = pFrame->m_wndStatusBar.GetPaneText(
        pFrame->m_wndStatusBar.CommandToIndex(ID_INDICATOR_KEYCOUNT));
    std::printf("window %.3f %ld %d\n", dSeconds, std::atol(strCount.c_str()),
                pFrame->m_wndView.Rows().GetRowCount());
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: bench_search bare|window FIND_TEXT\n");
        return 2;
    }
    const std::string strMode = argv[1];
    if (strMode == "bare")
        return RunBare();
    if (strMode == "window")
        return RunWindow(argv[2]);
    return 2;
}
