#ifndef QUILLON_TESTS_SUPPORT_TEST_WINDOWS_H
#define QUILLON_TESTS_SUPPORT_TEST_WINDOWS_H

#include "results/result_row.h"

#include <windows.h>

#include <ostream>
#include <string>
#include <vector>

// Message numbers that the tests give the walker for its two progress texts.
constexpr UINT kMsgKeyCount = WM_APP + 1;
constexpr UINT kMsgKeyPath = WM_APP + 2;
// The message that brings a batch of found rows to the list (wParam the
// count, lParam the first row).
constexpr UINT kMsgAppendRows = WM_APP + 3;

// One progress text as the window received it.
struct ReceivedText {
    UINT nMsg;
    std::string strText;
    bool operator==(const ReceivedText& other) const {
        return nMsg == other.nMsg && strText == other.strText;
    }
};

inline std::ostream& operator<<(std::ostream& os, const ReceivedText& r) {
    return os << (r.nMsg == kMsgKeyCount ? "count: " : "path: ") << r.strText;
}

// Every row of a result list control, read back through the list's
// operations, flags included.
std::vector<ResultRow> ReadRows(HWND hWndList);

// A hidden top-level window that keeps every progress text sent to it, and
// a real report-view list control, a window of its own, that holds the
// found rows (either can be destroyed without the other).
class CTestWindows {
public:
    CTestWindows();
    ~CTestWindows();
    CTestWindows(const CTestWindows&) = delete;
    CTestWindows& operator=(const CTestWindows&) = delete;

    HWND Notify() const { return m_hWndNotify; }
    HWND List() const { return m_hWndList; }

    // The texts received, in order, for one message number.
    std::vector<std::string> Texts(UINT nMsg) const;
    // The rows of the list control, read back through the list's operations.
    std::vector<ResultRow> Rows() const;

    std::vector<ReceivedText> m_received;

private:
    HWND m_hWndNotify = nullptr;
    HWND m_hWndList = nullptr;
};

#endif
