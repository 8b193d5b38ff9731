#include "search/search_pacer.h"

#include "search/progress_texts.h"

bool CSearchPacer::TextsDue(HWND hWndNotify, int nKeyCount, const std::string& strRootKey,
                            const std::string& strKeyPath) {
    if (!m_rows.empty() && IntervalPassed(m_nFirstRowKept))
        DeliverRows(hWndNotify);
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

void CSearchPacer::AddRow(HWND hWndNotify, ResultRow row) {
    if (m_rows.empty())
        m_nFirstRowKept = GetTickCount();
    m_rows.push_back(std::move(row));
    if (IntervalPassed(m_nFirstRowKept))
        DeliverRows(hWndNotify);
}

void CSearchPacer::DeliverRows(HWND hWndNotify) {
    SendMessageA(hWndNotify, m_nMsgAppendRows, m_rows.size(),
                 reinterpret_cast<LPARAM>(m_rows.data()));
    m_rows.clear();
}

void CSearchPacer::Flush(HWND hWndNotify, UINT nMsgKeyCount, UINT nMsgKeyPath) {
    if (!m_rows.empty())
        DeliverRows(hWndNotify);
    if (!m_bTextsKept)
        return;
    m_bTextsKept = false;
    SendProgressTexts(hWndNotify, nMsgKeyCount, nMsgKeyPath, m_nKeptCount, m_strKeptFullName);
}
