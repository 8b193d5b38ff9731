#ifndef QUILLON_RESULTS_CHILD_VIEW_H
#define QUILLON_RESULTS_CHILD_VIEW_H

#include "platform/window.h"
#include "results/result_list.h"

#include <commctrl.h>

// The result view: a report-view list control that fills the frame's client
// area and shows the found rows, white on blue, with a check image at the
// left of each row. A click on a row's image toggles its check mark; Check
// and Uncheck act on the selected rows, also from a pop-up menu.
class CChildView : public CWindow {
public:
    CChildView() = default;
    ~CChildView() override;

    // Creates the list control as child nId of the parent and sets it up.
    BOOL Create(DWORD dwStyle, const RECT& rect, HWND hWndParent, UINT nId);

    // The Result list that the control holds.
    CResultList Rows() const { return CResultList(m_hWnd); }
    int GetRowCheck(int nRow) const { return Rows().GetRowCheck(nRow); }
    void SetRowCheck(int nRow, int nCheck) const { Rows().SetRowCheck(nRow, nCheck); }

    // Inverts a frame of 3-pixel bands just inside the rectangle, then
    // releases the device context; drawn twice, the frame is gone again.
    // The export flashes the row that it writes with it.
    void DrawRowFrame(const RECT& rect, HDC hDC, HWND hWndList);

    // A command offered by the frame: TRUE when the view handled it.
    BOOL OnCmdMsg(UINT nId, int nCode);

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs);
    int OnCreate();
    void OnSize(UINT nType, int cx, int cy);
    void OnLButtonDown(UINT nFlags, POINT point);
    void ProcessCheckBoxes();
    void OnCheckItems();
    void OnUncheckItems();
    void OnRButtonDown(UINT nFlags, POINT point);

    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;

    // The check images; handed to the control, which releases it when the
    // control is destroyed. Null until OnCreate has made it.
    HIMAGELIST m_pImageList = nullptr;

private:
    void SetSelectedChecks(int nCheck);
};

#endif
