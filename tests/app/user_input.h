#ifndef QUILLON_TESTS_APP_USER_INPUT_H
#define QUILLON_TESTS_APP_USER_INPUT_H

#include <windows.h>

#include "support/window_search.h"

#include <atomic>
#include <functional>
#include <initializer_list>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Input as the mouse and the keyboard make it: events put into the system's
// input queue (SendInput), which hands them to the window under the cursor
// or to the window with the focus, as it does for a user.

// Puts the cursor on a point of a window's client area.
inline void PutCursor(HWND hWnd, POINT client) {
    ClientToScreen(hWnd, &client);
    SetCursorPos(client.x, client.y);
}

// Mouse button events (MOUSEEVENTF_LEFTDOWN, ...) where the cursor is.
inline void PressMouse(std::initializer_list<DWORD> events) {
    std::vector<INPUT> inputs;
    for (DWORD nEvent : events) {
        INPUT input{};
        input.type = INPUT_MOUSE;
        input.mi.dwFlags = nEvent;
        inputs.push_back(input);
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Presses and releases each key in turn.
inline void PressKeys(const std::vector<WORD>& keys) {
    std::vector<INPUT> inputs;
    for (WORD nKey : keys) {
        for (DWORD nFlags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
            INPUT input{};
            input.type = INPUT_KEYBOARD;
            input.ki.wVk = nKey;
            input.ki.dwFlags = nFlags;
            inputs.push_back(input);
        }
    }
    SendInput(static_cast<UINT>(inputs.size()), inputs.data(), sizeof(INPUT));
}

// Answers the pop-up menus of this process as a user would: a thread of its
// own watches for a shown menu window (class #32768), notes its items, and
// presses the keys that the test names (Escape when none), which close the
// menu or pick one of its items. In-process tests need the thread, since a
// tracked menu holds up the thread that shows it.
class CMenuAnswerer {
public:
    // onShown, when given, is called on the watching thread with the
    // menu's window before the keys are pressed.
    explicit CMenuAnswerer(std::vector<WORD> keys = {VK_ESCAPE},
                           std::function<void(HWND)> onShown = {})
        : m_keys(std::move(keys)), m_onShown(std::move(onShown)), m_thread([this] { Watch(); }) {}
    ~CMenuAnswerer() {
        m_bStop = true;
        m_thread.join();
    }
    CMenuAnswerer(const CMenuAnswerer&) = delete;
    CMenuAnswerer& operator=(const CMenuAnswerer&) = delete;

    // The item texts of each menu shown so far, in order.
    std::vector<std::vector<std::string>> Shown() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_shown;
    }

    // The texts of a menu's items, by position.
    static std::vector<std::string> ItemTexts(HMENU hMenu) {
        std::vector<std::string> texts;
        const int nCount = GetMenuItemCount(hMenu);
        for (int i = 0; i < nCount; ++i) {
            char szText[256] = "";
            GetMenuStringA(hMenu, i, szText, sizeof szText, MF_BYPOSITION);
            texts.push_back(szText);
        }
        return texts;
    }

private:
    static HWND FindShownMenu() { return ::FindShownMenu(GetCurrentProcessId()); }

    void Watch() {
        HWND hAnswered = nullptr;
        DWORD nAnsweredAt = 0;
        while (!m_bStop) {
            HWND hMenuWnd = FindShownMenu();
            if (hMenuWnd && hMenuWnd != hAnswered) {
                // MN_GETHMENU: the menu that the window shows.
                const auto hMenu = reinterpret_cast<HMENU>(SendMessageA(hMenuWnd, 0x01E1, 0, 0));
                {
                    std::lock_guard<std::mutex> lock(m_mutex);
                    m_shown.push_back(ItemTexts(hMenu));
                }
                if (m_onShown)
                    m_onShown(hMenuWnd);
                PressKeys(m_keys);
                hAnswered = hMenuWnd;
                nAnsweredAt = GetTickCount();
            }
            // Keys that went elsewhere (another window took the foreground)
            // must not leave the test's thread in the menu for ever.
            if (hAnswered && IsWindowVisible(hAnswered) && GetTickCount() - nAnsweredAt > 3000) {
                EndMenu();
                nAnsweredAt = GetTickCount();
            }
            if (hAnswered && (!IsWindow(hAnswered) || !IsWindowVisible(hAnswered)))
                hAnswered = nullptr; // gone: a later menu may get the same window
            Sleep(10);
        }
    }

    std::vector<WORD> m_keys;
    std::function<void(HWND)> m_onShown;
    std::atomic<bool> m_bStop{false};
    mutable std::mutex m_mutex;
    std::vector<std::vector<std::string>> m_shown;
    std::thread m_thread;
};

#endif
