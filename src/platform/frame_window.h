#ifndef QUILLON_PLATFORM_FRAME_WINDOW_H
#define QUILLON_PLATFORM_FRAME_WINDOW_H

#include "platform/status_bar.h"
#include "platform/window.h"

// A top-level frame with a menu, accelerators, an optional status bar at the
// bottom (child id AFX_IDW_STATUS_BAR) and one child that fills the rest of
// the client area (child id AFX_IDW_PANE_FIRST).
//
// The frame shows the prompt of the highlighted menu item in status pane 0
// and "Ready" otherwise, keeps the CAP, NUM and SCRL panes in step with the
// keyboard, toggles the status bar on ID_VIEW_STATUS_BAR, and routes every
// command through OnCmdMsg. The main window's destruction ends the message
// loop.
class CFrameWindow : public CWindow {
public:
    // Creates the frame with the title string, menu and accelerators of the
    // resource number, at the system's default place and size.
    BOOL LoadFrame(UINT nIdResource, DWORD dwStyle);
    // Gives the frame a look at a message before it is dispatched: the
    // accelerators, and the key indicators. TRUE when the message is used.
    virtual BOOL PreTranslateMessage(MSG* pMsg);

    void RecalcLayout();
    // Centres the frame on the work area of the screen.
    void CenterWindow();

protected:
    virtual BOOL PreCreateWindow(CREATESTRUCTA& cs);
    // WM_CREATE: 0 to go on, -1 to fail the creation.
    virtual int OnCreate(CREATESTRUCTA* pCreate);
    virtual void OnSetFocus(HWND hWndOld);
    // A command (or a command-update request, never sent here) from a menu,
    // an accelerator or a control; TRUE when handled. The frame handles
    // ID_VIEW_STATUS_BAR and passes the rest to the application.
    virtual BOOL OnCmdMsg(UINT nId, int nCode);
    // The status bar that the frame lays out and writes prompts into.
    virtual CStatusBar* GetStatusBar() { return nullptr; }

    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;

    void ShowPrompt(UINT nIdItem);
    void UpdateKeyIndicators();

    HACCEL m_hAccelTable = nullptr;
};

#endif
