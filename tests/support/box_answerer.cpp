#include "support/box_answerer.h"

#include <algorithm>

namespace {

// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

struct Search {
    DWORD nProcessId;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectDialogs(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<Search*>(lParam);
    DWORD nProcessId = 0;
    GetWindowThreadProcessId(hWnd, &nProcessId);
    char szClass[16] = "";
    GetClassNameA(hWnd, szClass, sizeof szClass);
    if (nProcessId == search->nProcessId && IsWindowVisible(hWnd) &&
        std::string(szClass) == "#32770")
        search->found.push_back(hWnd);
    return TRUE;
}

} // namespace

std::string WindowText(HWND hWnd) {
    const int nLength = GetWindowTextLengthA(hWnd);
    std::string text(nLength + 1, '\0');
    const int nCopied = GetWindowTextA(hWnd, text.data(), nLength + 1);
    text.resize(nCopied > 0 ? nCopied : 0);
    return text;
}

CBoxAnswerer::CBoxAnswerer(Answer answer, DWORD nProcessId)
    : m_answer(std::move(answer)), m_nProcessId(nProcessId), m_thread([this] { Watch(); }) {}

CBoxAnswerer::~CBoxAnswerer() {
    m_bStop = true;
    m_thread.join();
}

std::vector<CBoxAnswerer::Box> CBoxAnswerer::Answered() const {
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_answered;
}

bool CBoxAnswerer::WaitForAnswers(size_t nCount, DWORD nMilliseconds) const {
    const DWORD nStart = GetTickCount();
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            if (m_answered.size() >= nCount)
                return true;
        }
        if (GetTickCount() - nStart >= nMilliseconds)
            return false;
        Sleep(10);
    }
}

int CBoxAnswerer::PressDefault(const Box& box) {
    for (int nId : {IDOK, IDYES})
        if (GetDlgItem(box.hWnd, nId))
            return nId;
    return IDCANCEL;
}

void CBoxAnswerer::Watch() {
    while (!m_bStop) {
        Search search{m_nProcessId, {}};
        EnumWindows(CollectDialogs, reinterpret_cast<LPARAM>(&search));
        for (HWND hWnd : search.found) {
            if (std::find(m_pressed.begin(), m_pressed.end(), hWnd) != m_pressed.end())
                continue;
            Box box;
            box.hWnd = hWnd;
            box.strCaption = WindowText(hWnd);
            if (HWND hText = GetDlgItem(hWnd, kMessageBoxTextId))
                box.strText = WindowText(hText);
            const int nButton = m_answer(box);
            if (nButton == 0)
                continue;
            m_pressed.push_back(hWnd);
            {
                std::lock_guard<std::mutex> lock(m_mutex);
                m_answered.push_back(box);
            }
            PostMessageA(hWnd, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED),
                         reinterpret_cast<LPARAM>(GetDlgItem(hWnd, nButton)));
        }
        // Forget boxes that are gone, so that a later box that happens to get
        // the same handle is answered too.
        m_pressed.erase(std::remove_if(m_pressed.begin(), m_pressed.end(),
                                       [](HWND h) { return !IsWindow(h); }),
                        m_pressed.end());
        Sleep(10);
    }
}
