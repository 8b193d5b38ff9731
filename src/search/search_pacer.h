#ifndef QUILLON_SEARCH_SEARCH_PACER_H
#define QUILLON_SEARCH_SEARCH_PACER_H

#include <windows.h>

#include <string>

// Paces what a search shows while it runs. The walker enters tens of
// thousands of keys a second, and every progress text costs a message to the
// window and a repaint of the status bar; no one reads that many. The pacer
// lets a key's texts through only when enough time has passed since the last
// ones went, keeps the latest, and sends them at the end (Flush), so that the
// panes end on the last key entered.
//
// It also holds the list's redraw while a burst of rows lands, and releases
// it whenever the interval has passed: each row still appears within the
// interval, and the list is repainted once per burst instead of once per row.
//
// Used by the worker thread only.
class CSearchPacer {
public:
    explicit CSearchPacer(DWORD nIntervalMs = 50) : m_nIntervalMs(nIntervalMs) {}

    // Called for each key entered, before its texts would be sent. True when
    // the texts are to be sent now; otherwise they are kept for later.
    bool TextsDue(HWND hWndList, int nKeyCount, const std::string& strRootKey,
                  const std::string& strKeyPath);
    // Called before a row is added to the list.
    void BeforeRow(HWND hWndList);
    // Sends the texts kept back, if any, and shows the rows held back.
    void Flush(HWND hWndNotify, UINT nMsgKeyCount, UINT nMsgKeyPath, HWND hWndList);

private:
    bool IntervalPassed(DWORD nSince) const { return GetTickCount() - nSince >= m_nIntervalMs; }
    void ReleaseRedraw(HWND hWndList);

    DWORD m_nIntervalMs;
    DWORD m_nLastTextsSent = 0;
    bool m_bTextsSentOnce = false;
    bool m_bTextsKept = false;
    int m_nKeptCount = 0;
    std::string m_strKeptFullName;
    bool m_bRedrawHeld = false;
    DWORD m_nRedrawHeldSince = 0;
};

#endif
