#include "search/search_pacer.h"

#include "search/progress_texts.h"

bool CSearchPacer::TextsDue(HWND hWndList, int nKeyCount, const std::string& strRootKey,
                            const std::string& strKeyPath) {
    if (m_bRedrawHeld && IntervalPassed(m_nRedrawHeldSince))
        ReleaseRedraw(hWndList);
    // The first key's texts always go: the panes show at once that the walk
    // has begun.
    if (!m_bTextsSentOnce || IntervalPassed(m_nLastTextsSent)) {
        m_bTextsSentOnce = true;
        m_bTextsKept = false;
        m_nLastTextsSent = GetTickCount();
        return true;
    }
    m_bTextsKept = true;
    m_nKeptCount = nKeyCount;
    m_strKeptFullName.assign(strRootKey).append(strKeyPath);
    return false;
}

void CSearchPacer::BeforeRow(HWND hWndList) {
    if (m_bRedrawHeld) {
        if (IntervalPassed(m_nRedrawHeldSince))
            ReleaseRedraw(hWndList);
        return;
    }
    SendMessageA(hWndList, WM_SETREDRAW, FALSE, 0);
    m_bRedrawHeld = true;
    m_nRedrawHeldSince = GetTickCount();
}

void CSearchPacer::ReleaseRedraw(HWND hWndList) {
    SendMessageA(hWndList, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(hWndList, nullptr, TRUE);
    m_bRedrawHeld = false;
}

void CSearchPacer::Flush(HWND hWndNotify, UINT nMsgKeyCount, UINT nMsgKeyPath, HWND hWndList) {
    if (m_bRedrawHeld)
        ReleaseRedraw(hWndList);
    if (!m_bTextsKept)
        return;
    m_bTextsKept = false;
    SendProgressTexts(hWndNotify, nMsgKeyCount, nMsgKeyPath, m_nKeptCount, m_strKeptFullName);
}
