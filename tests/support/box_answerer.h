#ifndef QUILLON_TESTS_SUPPORT_BOX_ANSWERER_H
#define QUILLON_TESTS_SUPPORT_BOX_ANSWERER_H

#include <windows.h>

#include <atomic>
#include <functional>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// Answers the message boxes and dialogs of one process as a user would: a
// thread of its own watches for them, reads their caption and text, and
// presses the button that the test's answer names. In-process tests need the
// thread, since a box holds up the thread that shows it.
class CBoxAnswerer {
public:
    struct Box {
        HWND hWnd = nullptr;
        std::string strCaption;
        std::string strText; // a message box's text; empty for other dialogs
    };
    // Given a box, the id of the button to press (IDOK, IDYES, ...), or 0 to
    // leave the box alone for now (asked again at the next look).
    using Answer = std::function<int(const Box&)>;

    // Watches the windows of the process nProcessId (this process by default).
    explicit CBoxAnswerer(Answer answer, DWORD nProcessId = GetCurrentProcessId());
    ~CBoxAnswerer();
    CBoxAnswerer(const CBoxAnswerer&) = delete;
    CBoxAnswerer& operator=(const CBoxAnswerer&) = delete;

    // The boxes answered so far, in order.
    std::vector<Box> Answered() const;
    // Waits until at least nCount boxes were answered; false after the time.
    bool WaitForAnswers(size_t nCount, DWORD nMilliseconds = 10000) const;

    // An answer that presses OK, Yes or the only button of every box.
    static int PressDefault(const Box& box);

private:
    void Watch();

    Answer m_answer;
    DWORD m_nProcessId;
    std::atomic<bool> m_bStop{false};
    mutable std::mutex m_mutex;
    std::vector<Box> m_answered;
    std::vector<HWND> m_pressed; // boxes already answered that may still be closing
    std::thread m_thread;
};

// A window's text, however long.
std::string WindowText(HWND hWnd);

#endif
