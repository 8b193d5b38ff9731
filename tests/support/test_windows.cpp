#include "support/test_windows.h"

#include "results/result_list.h"

#include <commctrl.h>

#include <stdexcept>

namespace {

const char kClassName[] = "QuillonTestNotify";

LRESULT CALLBACK NotifyProc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam) {
    if (nMsg == kMsgKeyCount || nMsg == kMsgKeyPath) {
        auto* self = reinterpret_cast<CTestWindows*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        self->m_received.push_back({nMsg, reinterpret_cast<const char*>(lParam)});
        return 0;
    }
    if (nMsg == kMsgAppendRows) {
        auto* self = reinterpret_cast<CTestWindows*>(GetWindowLongPtrA(hWnd, GWLP_USERDATA));
        CResultList(self->List()).AppendRows(reinterpret_cast<const ResultRow*>(lParam), wParam);
        return 0;
    }
    return DefWindowProcA(hWnd, nMsg, wParam, lParam);
}

void RegisterNotifyClass() {
    WNDCLASSA wc{};
    wc.lpfnWndProc = NotifyProc;
    wc.hInstance = GetModuleHandleA(nullptr);
    wc.lpszClassName = kClassName;
    RegisterClassA(&wc); // a second registration fails harmlessly
}

} // namespace

CTestWindows::CTestWindows() {
    RegisterNotifyClass();
    m_hWndNotify = CreateWindowExA(0, kClassName, "notify", WS_OVERLAPPEDWINDOW, 0, 0, 600, 400,
                                   nullptr, nullptr, GetModuleHandleA(nullptr), nullptr);
    if (!m_hWndNotify)
        throw std::runtime_error("cannot create the test window");
    SetWindowLongPtrA(m_hWndNotify, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    m_hWndList = CreateWindowExA(0, WC_LISTVIEWA, "", WS_POPUP | LVS_REPORT, 0, 0,
                                 600, 400, nullptr, nullptr, GetModuleHandleA(nullptr),
                                 nullptr);
    if (!m_hWndList)
        throw std::runtime_error("cannot create the list control");
    LVCOLUMNA column{};
    column.mask = LVCF_WIDTH;
    column.cx = 100;
    for (int i = 0; i < 4; ++i)
        SendMessageA(m_hWndList, LVM_INSERTCOLUMNA, i, reinterpret_cast<LPARAM>(&column));
}

CTestWindows::~CTestWindows() {
    if (IsWindow(m_hWndList))
        DestroyWindow(m_hWndList);
    if (IsWindow(m_hWndNotify))
        DestroyWindow(m_hWndNotify);
}

std::vector<std::string> CTestWindows::Texts(UINT nMsg) const {
    std::vector<std::string> texts;
    for (const ReceivedText& r : m_received)
        if (r.nMsg == nMsg)
            texts.push_back(r.strText);
    return texts;
}

std::vector<ResultRow> ReadRows(HWND hWndList) {
    CResultList list(hWndList);
    std::vector<ResultRow> rows;
    for (int i = 0; i < list.GetRowCount(); ++i) {
        ResultRow row;
        row.strRootKey = list.GetRowText(i, CResultList::kColRootKey);
        row.strKeyPath = list.GetRowText(i, CResultList::kColKey);
        row.strValueName = list.GetRowText(i, CResultList::kColName);
        row.strValueData = list.GetRowText(i, CResultList::kColValue);
        row.nCheck = list.GetRowCheck(i);
        row.nFlags = list.GetRowFlags(i);
        rows.push_back(row);
    }
    return rows;
}

std::vector<ResultRow> CTestWindows::Rows() const { return ReadRows(m_hWndList); }
