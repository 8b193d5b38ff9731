#ifndef QUILLON_EXPORT_REGEDIT_LAUNCHER_H
#define QUILLON_EXPORT_REGEDIT_LAUNCHER_H

#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

// How the registry editor is started: the two process services, as a table
// whose default is the real system. Tests replace one to bring about an
// answer that the platform at hand never gives (a refused elevation).
struct ProcessStartOps {
    std::function<BOOL(const char* pszApplication, char* pszCommandLine,
                       PROCESS_INFORMATION* pInfo)>
        CreateProcess;
    std::function<BOOL(SHELLEXECUTEINFOA* pInfo)> ShellExecuteEx;

    static const ProcessStartOps& Real();
};

// The registry editor of the system's own folders: the system folder first,
// then the Windows folder. Empty when neither holds one. A program beside
// Quillon or in the current folder is never taken.
std::string FindRegistryEditor();

// Runs the registry editor on the change file and waits until it has ended.
// The command line is REGEDIT.EXE and the file's path in double quotes.
// Where Windows answers that the editor needs elevation, it is started
// through the shell, which asks the user for consent. The frame is minimised
// while the editor runs. False when the editor could not be started (none
// found, the start failed, or the consent was refused).
bool RunRegistryEditor(HWND hWndFrame, const std::string& strChangesPath,
                       const ProcessStartOps& ops = ProcessStartOps::Real());

#endif
