#ifndef QUILLON_PLATFORM_WINDOW_H
#define QUILLON_PLATFORM_WINDOW_H

#include <windows.h>

// A window of the program: it owns nothing but its place between the HWND
// and the program's handlers. Messages go to the virtual WindowProc, whose
// default hands them on: to DefWindowProc for a window of a class of our own,
// to the control's own procedure for a control that the program took over
// (Subclass).
//
// No exception ever leaves WindowProc into the system: the procedure that
// calls it catches what is left and gives the message its default handling.
class CWindow {
public:
    CWindow() = default;
    virtual ~CWindow();
    CWindow(const CWindow&) = delete;
    CWindow& operator=(const CWindow&) = delete;

    HWND GetHwnd() const { return m_hWnd; }
    operator HWND() const { return m_hWnd; }

    // Creates a window of a class registered with StandardWndProc; the
    // object receives every message from WM_NCCREATE on.
    HWND CreateEx(DWORD dwExStyle, const char* pszClass, const char* pszTitle, DWORD dwStyle,
                  int x, int y, int cx, int cy, HWND hWndParent, HMENU hMenuOrId);

    // Takes over a window that the system created, such as a control: its
    // messages come here first, and the default handling is the control's.
    void Subclass(HWND hWnd);

    // The window procedure to register for classes of our own.
    static LRESULT CALLBACK StandardWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

protected:
    virtual LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam);
    // The handling that the window would get without this object.
    LRESULT DefaultProc(UINT nMsg, WPARAM wParam, LPARAM lParam);

    HWND m_hWnd = nullptr;

private:
    static LRESULT CALLBACK SubclassWndProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);
    static LRESULT Dispatch(CWindow* pWindow, HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam);

    WNDPROC m_pfnControlProc = nullptr; // set for a subclassed control
};

#endif
