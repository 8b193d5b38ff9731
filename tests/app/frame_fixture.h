#ifndef QUILLON_TESTS_APP_FRAME_FIXTURE_H
#define QUILLON_TESTS_APP_FRAME_FIXTURE_H

#include "app/main_frame.h"
#include "app/quillon_app.h"
#include "res/resource.h"
#include "support/box_answerer.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

// The program's main frame, made as the program makes it, shown, and held by
// an application object, so that commands that no window handles reach the
// application as they do in the program. The test's thread is the frame's
// thread: whatever the frame must handle while the test waits, the test
// handles with PumpUntil.
class FrameTest : public testing::Test {
protected:
    FrameTest() {
        m_pFrame = new CMainFrame;
        m_app.m_pMainWnd = m_pFrame; // the application deletes it
        if (m_pFrame->LoadFrame(IDR_MAINFRAME, WS_OVERLAPPEDWINDOW)) {
            ShowWindow(Frame(), SW_SHOW);
            UpdateWindow(Frame());
        }
    }

    ~FrameTest() override {
        StopSearch();
        // A frame closed by a test posted the quit message that ends the
        // program's message loop; it must not end a later test's box.
        MSG msg;
        while (PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE)) {
        }
    }

    void SetUp() override { ASSERT_TRUE(IsWindow(Frame())) << "the frame was not created"; }

    HWND Frame() const { return m_pFrame->GetHwnd(); }
    HWND View() const { return m_pFrame->m_wndView.GetHwnd(); }
    HWND StatusBar() const { return m_pFrame->m_wndStatusBar.GetHwnd(); }
    std::string PaneText(int nPane) const { return m_pFrame->m_wndStatusBar.GetPaneText(nPane); }

    // A menu or accelerator command, as the system hands it to the frame.
    void Command(UINT nId) const { SendMessageA(Frame(), WM_COMMAND, MAKEWPARAM(nId, 0), 0); }

    // Handles this thread's messages until done() says so or the time is
    // up; what done() says at the end.
    static bool PumpUntil(const std::function<bool()>& done, DWORD nMilliseconds = 10000) {
        const DWORD nStart = GetTickCount();
        for (;;) {
            MSG msg;
            while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
                TranslateMessage(&msg);
                DispatchMessageA(&msg);
            }
            if (done())
                return true;
            if (GetTickCount() - nStart > nMilliseconds)
                return false;
            MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
        }
    }

    // Handles the mouse and keyboard input that waits for this thread.
    static void HandleInput() {
        PumpUntil([] { return HIWORD(GetQueueStatus(QS_INPUT)) == 0; });
    }

    // A search that a test left running is stopped as a close request would
    // stop it, and its end box answered, before the frame goes away: the
    // worker uses the frame to its end.
    void StopSearch() {
        if (m_pFrame->m_hSearchThread.load() == nullptr)
            return;
        m_pFrame->m_bSearching = 0;
        const char kEndText[] = "Search Through the Registry is Terminated.";
        CBoxAnswerer answerer(CBoxAnswerer::PressDefault);
        PumpUntil(
            [&] {
                for (const CBoxAnswerer::Box& box : answerer.Answered())
                    if (box.strText == kEndText && !IsWindow(box.hWnd))
                        return true;
                return false;
            },
            60000);
    }

    CQuillonApp m_app;
    CMainFrame* m_pFrame = nullptr;
};

#endif
