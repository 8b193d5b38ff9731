#include "platform/status_bar.h"

#include <commctrl.h>

std::string LoadResourceString(UINT nId) {
    const char* pText = nullptr;
    // With a zero buffer size the call gives a pointer to the resource itself.
    const int nLength =
        LoadStringA(GetModuleHandleA(nullptr), nId, reinterpret_cast<char*>(&pText), 0);
    if (nLength > 0 && pText)
        return std::string(pText, nLength);
    // Some systems give no pointer in the ANSI form: read into a buffer.
    std::string buffer(1024, '\0');
    const int nCopied = LoadStringA(GetModuleHandleA(nullptr), nId, buffer.data(),
                                    static_cast<int>(buffer.size()));
    buffer.resize(nCopied > 0 ? nCopied : 0);
    return buffer;
}

BOOL CStatusBar::Create(HWND hWndParent, DWORD dwStyle, UINT nId) {
    // Only the window styles matter to the control; it docks at the bottom.
    const DWORD dwWindowStyle = (dwStyle & 0xFFFF0000u) | SBARS_SIZEGRIP;
    m_hWnd = CreateWindowExA(0, STATUSCLASSNAMEA, "", dwWindowStyle, 0, 0, 0, 0, hWndParent,
                             reinterpret_cast<HMENU>(static_cast<UINT_PTR>(nId)),
                             GetModuleHandleA(nullptr), nullptr);
    return m_hWnd != nullptr;
}

BOOL CStatusBar::SetIndicators(const UINT* pIds, int nCount) {
    std::vector<std::string> texts;
    for (int i = 0; i < nCount; ++i) {
        texts.push_back(pIds[i] == 0 ? std::string() : LoadResourceString(pIds[i]));
        if (pIds[i] != 0 && texts.back().empty())
            return FALSE;
    }
    m_ids.assign(pIds, pIds + nCount);
    m_widths.assign(nCount, 0);

    HDC hDC = GetDC(m_hWnd);
    HFONT hFont = reinterpret_cast<HFONT>(SendMessageA(m_hWnd, WM_GETFONT, 0, 0));
    if (!hFont)
        hFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    HGDIOBJ hOldFont = SelectObject(hDC, hFont);
    // Room for the pane's borders on both sides of its text.
    const int nPadding = 4 * GetSystemMetrics(SM_CXEDGE) + 4;
    for (int i = 1; i < nCount; ++i) {
        SIZE size{};
        GetTextExtentPoint32A(hDC, texts[i].c_str(), static_cast<int>(texts[i].size()), &size);
        m_widths[i] = size.cx + nPadding;
    }
    SelectObject(hDC, hOldFont);
    ReleaseDC(m_hWnd, hDC);

    RecalcParts();
    for (int i = 0; i < nCount; ++i)
        SetPaneText(i, texts[i], FALSE);
    return TRUE;
}

int CStatusBar::CommandToIndex(UINT nId) const {
    for (size_t i = 0; i < m_ids.size(); ++i)
        if (m_ids[i] == nId)
            return static_cast<int>(i);
    return -1;
}

void CStatusBar::SetPaneText(int nIndex, const std::string& strText, BOOL bUpdate) {
    if (nIndex < 0 || nIndex >= GetPaneCount())
        return;
    SendMessageA(m_hWnd, SB_SETTEXTA, static_cast<WPARAM>(nIndex),
                 reinterpret_cast<LPARAM>(strText.c_str()));
    if (bUpdate) {
        RECT rect{};
        SendMessageA(m_hWnd, SB_GETRECT, static_cast<WPARAM>(nIndex),
                     reinterpret_cast<LPARAM>(&rect));
        InvalidateRect(m_hWnd, &rect, TRUE);
    }
}

std::string CStatusBar::GetPaneText(int nIndex) const {
    const LRESULT nInfo = SendMessageA(m_hWnd, SB_GETTEXTLENGTHA, nIndex, 0);
    std::string text(LOWORD(nInfo) + 1, '\0');
    SendMessageA(m_hWnd, SB_GETTEXTA, nIndex, reinterpret_cast<LPARAM>(text.data()));
    text.resize(LOWORD(nInfo));
    return text;
}

void CStatusBar::RecalcParts() {
    if (m_ids.empty())
        return;
    RECT client{};
    GetClientRect(m_hWnd, &client);
    // From the right: the last pane runs to the end (over the size grip,
    // which is as wide as the bar is high), each pane before it ends where
    // the next begins, and pane 0 gets what is left.
    int nRight = client.right - (client.bottom - client.top);
    std::vector<int> edges(m_ids.size());
    for (int i = GetPaneCount() - 1; i >= 0; --i) {
        edges[i] = i == GetPaneCount() - 1 ? -1 : nRight;
        if (i > 0)
            nRight -= m_widths[i];
    }
    SendMessageA(m_hWnd, SB_SETPARTS, edges.size(), reinterpret_cast<LPARAM>(edges.data()));
}
