#ifndef QUILLON_RESULTS_RESULT_LIST_H
#define QUILLON_RESULTS_RESULT_LIST_H

#include "results/result_row.h"

#include <windows.h>

#include <string>

// The store of found values: the rows of a report-view list control, in the
// order found. Row n's check mark is its image index (0 blank, 1 tick); its
// flags ride in the item's data. This wrapper does not own the window.
//
// Every operation is a message to the control, so a worker thread may call
// AppendRow: the call is carried out on the control's own thread and has
// finished when it returns.
class CResultList {
public:
    explicit CResultList(HWND hWndList) : m_hWnd(hWndList) {}

    enum Column { kColRootKey = 0, kColKey = 1, kColName = 2, kColValue = 3 };

    // Adds the row last; false when the control refused it.
    bool AppendRow(const ResultRow& row) const;
    // Adds the rows last, in order, and repaints the control once.
    void AppendRows(const ResultRow* pRows, size_t nCount) const;
    int GetRowCount() const;
    // The whole text of a cell, however long.
    std::string GetRowText(int nRow, int nColumn) const;
    // The check mark: the row's image index, 0 when the row cannot be read.
    int GetRowCheck(int nRow) const;
    // Stores the check mark, only if the row can be read.
    void SetRowCheck(int nRow, int nCheck) const;
    unsigned GetRowFlags(int nRow) const;
    void DeleteAllRows() const;

private:
    HWND m_hWnd;
};

#endif
