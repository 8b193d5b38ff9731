#ifndef QUILLON_SEARCH_SEARCH_PACER_H
#define QUILLON_SEARCH_SEARCH_PACER_H

#include "results/result_row.h"

#include <windows.h>

#include <string>
#include <vector>

// Paces what a search shows while it runs. The walker enters tens of
// thousands of keys a second, and every progress text costs a message to the
// window and a repaint of the status bar; no one reads that many. The pacer
// lets a key's texts through only when enough time has passed since the last
// ones went, keeps the latest, and sends them at the end (Flush), so that the
// panes end on the last key entered.
//
// Found rows are gathered the same way and handed to the window in one
// message (nMsgAppendRows: wParam the count, lParam the first row) whenever
// the interval has passed: each row still appears within the interval, in
// the order found, and the list is repainted once per batch instead of once
// per row.
//
// Used by the worker thread only.
class CSearchPacer {
public:
    explicit CSearchPacer(UINT nMsgAppendRows, DWORD nIntervalMs = 50)
        : m_nMsgAppendRows(nMsgAppendRows), m_nIntervalMs(nIntervalMs) {}

    // Called for each key entered, before its texts would be sent. True when
    // the texts are to be sent now; otherwise they are kept for later.
    bool TextsDue(HWND hWndNotify, int nKeyCount, const std::string& strRootKey,
                  const std::string& strKeyPath);
    // Takes a found row; it reaches the window within the interval.
    void AddRow(HWND hWndNotify, ResultRow row);
    // Hands over the rows gathered and sends the texts kept back, if any.
    void Flush(HWND hWndNotify, UINT nMsgKeyCount, UINT nMsgKeyPath);

private:
    bool IntervalPassed(DWORD nSince) const { return GetTickCount() - nSince >= m_nIntervalMs; }
    void DeliverRows(HWND hWndNotify);

    UINT m_nMsgAppendRows;
    DWORD m_nIntervalMs;
    DWORD m_nLastTextsSent = 0;
    bool m_bTextsSentOnce = false;
    bool m_bTextsKept = false;
    int m_nKeptCount = 0;
    std::string m_strKeptFullName;
    std::vector<ResultRow> m_rows; // found, not yet handed over
    DWORD m_nFirstRowKept = 0;
};

#endif
