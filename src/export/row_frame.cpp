#include "results/child_view.h"

namespace {

// Width of each band of the frame, in pixels.
constexpr int kBand = 3;

} // namespace

void CChildView::DrawRowFrame(const RECT& rect, HDC hDC, HWND hWndList) {
    if (!hDC || !hWndList)
        return;
    const int cx = rect.right - rect.left;
    const int cy = rect.bottom - rect.top;
    // Inverted, so that drawing the same frame again takes it away.
    PatBlt(hDC, rect.left, rect.top, cx, kBand, DSTINVERT);
    PatBlt(hDC, rect.left, rect.bottom - kBand, cx, kBand, DSTINVERT);
    PatBlt(hDC, rect.left, rect.top + kBand, kBand, cy - 2 * kBand, DSTINVERT);
    PatBlt(hDC, rect.right - kBand, rect.top + kBand, kBand, cy - 2 * kBand, DSTINVERT);
    ReleaseDC(hWndList, hDC);
}
