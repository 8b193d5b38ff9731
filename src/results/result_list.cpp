#include "results/result_list.h"

#include <commctrl.h>

bool CResultList::AppendRow(const ResultRow& row) const {
    LVITEMA item{};
    item.mask = LVIF_TEXT | LVIF_IMAGE | LVIF_PARAM | LVIF_STATE;
    item.iItem = GetRowCount();
    item.pszText = const_cast<char*>(row.strRootKey.c_str());
    item.iImage = row.nCheck;
    item.lParam = static_cast<LPARAM>(row.nFlags);
    const int nIndex = static_cast<int>(SendMessageA(m_hWnd, LVM_INSERTITEMA, 0, (LPARAM)&item));
    if (nIndex < 0)
        return false;

    const std::string* texts[] = {&row.strKeyPath, &row.strValueName, &row.strValueData};
    for (int nColumn = kColKey; nColumn <= kColValue; ++nColumn) {
        LVITEMA sub{};
        sub.iSubItem = nColumn;
        sub.pszText = const_cast<char*>(texts[nColumn - 1]->c_str());
        SendMessageA(m_hWnd, LVM_SETITEMTEXTA, nIndex, (LPARAM)&sub);
    }
    return true;
}

void CResultList::AppendRows(const ResultRow* pRows, size_t nCount) const {
    SendMessageA(m_hWnd, WM_SETREDRAW, FALSE, 0);
    for (size_t i = 0; i < nCount; ++i)
        AppendRow(pRows[i]);
    SendMessageA(m_hWnd, WM_SETREDRAW, TRUE, 0);
    InvalidateRect(m_hWnd, nullptr, FALSE);
}

int CResultList::GetRowCount() const {
    return static_cast<int>(SendMessageA(m_hWnd, LVM_GETITEMCOUNT, 0, 0));
}

std::string CResultList::GetRowText(int nRow, int nColumn) const {
    // The control copies at most the buffer size less one; a text that fills
    // the buffer may have been cut, so the buffer grows until it does not.
    std::string buffer(256, '\0');
    for (;;) {
        LVITEMA item{};
        item.iSubItem = nColumn;
        item.pszText = buffer.data();
        item.cchTextMax = static_cast<int>(buffer.size());
        const int nCopied =
            static_cast<int>(SendMessageA(m_hWnd, LVM_GETITEMTEXTA, nRow, (LPARAM)&item));
        if (nCopied < static_cast<int>(buffer.size()) - 1) {
            buffer.resize(nCopied);
            return buffer;
        }
        buffer.assign(buffer.size() * 2, '\0');
    }
}

namespace {

bool ReadRow(HWND hWnd, int nRow, UINT nMask, LVITEMA& item) {
    item = LVITEMA{};
    item.mask = nMask;
    item.iItem = nRow;
    return SendMessageA(hWnd, LVM_GETITEMA, 0, (LPARAM)&item) != FALSE;
}

} // namespace

int CResultList::GetRowCheck(int nRow) const {
    LVITEMA item;
    return ReadRow(m_hWnd, nRow, LVIF_IMAGE, item) ? item.iImage : 0;
}

void CResultList::SetRowCheck(int nRow, int nCheck) const {
    LVITEMA item;
    if (!ReadRow(m_hWnd, nRow, LVIF_IMAGE, item))
        return;
    item.iImage = nCheck;
    SendMessageA(m_hWnd, LVM_SETITEMA, 0, (LPARAM)&item);
}

unsigned CResultList::GetRowFlags(int nRow) const {
    LVITEMA item;
    return ReadRow(m_hWnd, nRow, LVIF_PARAM, item) ? static_cast<unsigned>(item.lParam) : 0;
}

void CResultList::DeleteAllRows() const {
    SendMessageA(m_hWnd, LVM_DELETEALLITEMS, 0, 0);
}
