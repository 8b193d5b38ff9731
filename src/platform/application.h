#ifndef QUILLON_PLATFORM_APPLICATION_H
#define QUILLON_PLATFORM_APPLICATION_H

#include <windows.h>

class CFrameWindow;

// The application object: the one object that stands for the running
// program. It makes the main window at start-up, runs the message loop,
// and handles the commands that no window handles.
class CApplication {
public:
    CApplication();
    virtual ~CApplication();
    CApplication(const CApplication&) = delete;
    CApplication& operator=(const CApplication&) = delete;

    // The application object, or null while there is none.
    static CApplication* Get();

    virtual BOOL InitInstance() = 0;
    // A command that no window handled; TRUE when handled here. Exit asks
    // the main window to close, so that it passes the window's close guard.
    virtual BOOL OnCommand(UINT nId);
    // Runs the message loop until the main window is gone; the exit code.
    int Run();

    HWND GetMainHwnd() const;

    CFrameWindow* m_pMainWnd = nullptr;
};

#endif
