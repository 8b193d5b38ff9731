#include "export/regedit_launcher.h"

namespace {

// Windows' answer to a start of a program that asks for elevation from a
// program that has none (ERROR_ELEVATION_REQUIRED).
constexpr DWORD kElevationRequired = 740;

ProcessStartOps MakeRealOps() {
    ProcessStartOps ops;
    ops.CreateProcess = [](const char* pszApplication, char* pszCommandLine,
                           PROCESS_INFORMATION* pInfo) {
        STARTUPINFOA startup{};
        startup.cb = sizeof startup;
        return CreateProcessA(pszApplication, pszCommandLine, nullptr, nullptr, FALSE, 0,
                              nullptr, nullptr, &startup, pInfo);
    };
    ops.ShellExecuteEx = [](SHELLEXECUTEINFOA* pInfo) { return ShellExecuteExA(pInfo); };
    return ops;
}

std::string InFolder(UINT (*pfnGetFolder)(char*, UINT)) {
    char szFolder[MAX_PATH + 1] = "";
    const UINT nLength = pfnGetFolder(szFolder, MAX_PATH);
    if (nLength == 0 || nLength > MAX_PATH)
        return {};
    return std::string(szFolder) + "\\regedit.exe";
}

UINT SystemFolder(char* pszBuffer, UINT nSize) {
    return GetSystemDirectoryA(pszBuffer, nSize);
}

UINT WindowsFolder(char* pszBuffer, UINT nSize) {
    return GetSystemWindowsDirectoryA(pszBuffer, nSize);
}

// Waits for the process to end. Messages sent to the program's windows by
// other programs are still answered meanwhile, so that a program that
// broadcasts one (the editor among them) is never held up; nothing else is
// handled, the frame stays as it is.
void WaitForProcess(HANDLE hProcess) {
    while (MsgWaitForMultipleObjects(1, &hProcess, FALSE, INFINITE, QS_SENDMESSAGE) ==
           WAIT_OBJECT_0 + 1) {
        MSG msg;
        PeekMessageA(&msg, nullptr, 0, 0, PM_NOREMOVE | PM_QS_SENDMESSAGE);
    }
}

} // namespace

const ProcessStartOps& ProcessStartOps::Real() {
    static const ProcessStartOps real = MakeRealOps();
    return real;
}

std::string FindRegistryEditor() {
    // On 64-bit Windows the 32-bit build's system folder is that of the
    // 32-bit programs, so each build gets the editor of its own registry view.
    for (auto pfnFolder : {SystemFolder, WindowsFolder}) {
        const std::string strPath = InFolder(pfnFolder);
        if (!strPath.empty() && GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES)
            return strPath;
    }
    return {};
}

bool RunRegistryEditor(HWND hWndFrame, const std::string& strChangesPath,
                       const ProcessStartOps& ops) {
    const std::string strEditor = FindRegistryEditor();
    if (strEditor.empty())
        return false;
    const std::string strArgument = "\"" + strChangesPath + "\"";
    std::string strCommandLine = "REGEDIT.EXE " + strArgument;

    HANDLE hProcess = nullptr;
    PROCESS_INFORMATION info{};
    if (ops.CreateProcess(strEditor.c_str(), strCommandLine.data(), &info)) {
        CloseHandle(info.hThread);
        hProcess = info.hProcess;
    } else if (GetLastError() == kElevationRequired) {
        SHELLEXECUTEINFOA shell{};
        shell.cbSize = sizeof shell;
        shell.fMask = SEE_MASK_NOCLOSEPROCESS;
        shell.hwnd = hWndFrame;
        shell.lpVerb = "open";
        shell.lpFile = strEditor.c_str();
        shell.lpParameters = strArgument.c_str();
        shell.nShow = SW_SHOWNORMAL;
        if (ops.ShellExecuteEx(&shell))
            hProcess = shell.hProcess;
    }
    if (!hProcess)
        return false;

    ShowWindow(hWndFrame, SW_MINIMIZE);
    WaitForProcess(hProcess);
    CloseHandle(hProcess);
    ShowWindow(hWndFrame, SW_RESTORE);
    return true;
}
