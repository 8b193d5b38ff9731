#ifndef QUILLON_PLATFORM_STATUS_BAR_H
#define QUILLON_PLATFORM_STATUS_BAR_H

#include <windows.h>

#include <string>
#include <vector>

// A status bar whose panes are named by ids. Pane 0 (id 0) takes the width
// that the others leave; every other pane is as wide as the string resource
// of its id, and starts with that string as its text.
class CStatusBar {
public:
    BOOL Create(HWND hWndParent, DWORD dwStyle, UINT nId);
    // False when a pane other than pane 0 has no string of its id.
    BOOL SetIndicators(const UINT* pIds, int nCount);

    HWND GetHwnd() const { return m_hWnd; }
    int GetPaneCount() const { return static_cast<int>(m_ids.size()); }
    // The index of the pane with that id, or -1.
    int CommandToIndex(UINT nId) const;
    // Sets a pane's text; with bUpdate the pane is invalidated so that the
    // next paint shows it.
    void SetPaneText(int nIndex, const std::string& strText, BOOL bUpdate = TRUE);
    std::string GetPaneText(int nIndex) const;
    // Spreads the panes over the bar's present width.
    void RecalcParts();

private:
    HWND m_hWnd = nullptr;
    std::vector<UINT> m_ids;
    std::vector<int> m_widths; // pane 0's entry is unused
};

// A string of the program's resources, or an empty text when there is none.
std::string LoadResourceString(UINT nId);

#endif
