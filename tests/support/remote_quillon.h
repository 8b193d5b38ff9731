#ifndef QUILLON_TESTS_SUPPORT_REMOTE_QUILLON_H
#define QUILLON_TESTS_SUPPORT_REMOTE_QUILLON_H

#include "results/result_row.h"

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

// The real Quillon.exe of this build tree, started as a process of its own
// and seen only from outside, through its windows, as a user sees it. The
// process never outlives the object: it is ended at the latest when the
// object goes (killed if it does not close).
class CRemoteQuillon {
public:
    CRemoteQuillon();
    ~CRemoteQuillon();
    CRemoteQuillon(const CRemoteQuillon&) = delete;
    CRemoteQuillon& operator=(const CRemoteQuillon&) = delete;

    // Starts the program and waits for its main window; false on failure,
    // with the reason in Error().
    bool Start(DWORD nMilliseconds = 20000);
    const std::string& Error() const { return m_strError; }

    DWORD ProcessId() const { return m_info.dwProcessId; }
    HANDLE Process() const { return m_info.hProcess; }
    HWND Frame() const { return m_hWndFrame; }
    HWND List() const;      // the result view, child 0xE900 of the frame
    HWND StatusBar() const; // the frame's status bar

    // Opens Tool > Search from the keyboard (Alt+T, then S); false when the
    // menu did not open.
    bool ChooseToolSearch() const;
    // A visible dialog or message box of the process with that caption, as
    // soon as there is one; null after the time.
    HWND WaitForDialog(const std::string& strCaption, DWORD nMilliseconds = 10000) const;
    // True when the process ended within the time.
    bool WaitForExit(DWORD nMilliseconds = 10000) const;

    // The rows of the result view, each cell read with a buffer in the
    // program's memory; nCheck is the row's image.
    std::vector<ResultRow> Rows() const;
    // The text of one pane of the status bar.
    std::string PaneText(int nPane) const;

private:
    PROCESS_INFORMATION m_info{};
    HWND m_hWndFrame = nullptr;
    std::string m_strError;
};

// The full path of Quillon.exe beside this test program's build folder:
// ...\tests\quillon_tests.exe gives ...\src\Quillon.exe.
std::string QuillonExePath();

// The string form of the current user's SID: the name of the current user's
// key under HKEY_USERS.
std::string CurrentUserSid();

// Asks bDone every 20 ms until it is true (true) or the time is up (false).
bool WaitUntil(const std::function<bool()>& bDone, DWORD nMilliseconds);

#endif
