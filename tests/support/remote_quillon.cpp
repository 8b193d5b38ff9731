#include "support/remote_quillon.h"

#include <commctrl.h>
#include <sddl.h>

#include <stdexcept>

namespace {

const char kFrameClassAndTitle[] = "Quillon - Vantrel";
constexpr int kListId = 0xE900;

// Memory in another process: what a control of that process writes into
// when it answers a message that carries a pointer.
class CRemoteBuffer {
public:
    CRemoteBuffer(HANDLE hProcess, size_t cb) : m_hProcess(hProcess) {
        m_pAddress =
            VirtualAllocEx(hProcess, nullptr, cb, MEM_COMMIT | MEM_RESERVE, PAGE_READWRITE);
        if (!m_pAddress)
            throw std::runtime_error("cannot allocate memory in the program");
    }
    ~CRemoteBuffer() { VirtualFreeEx(m_hProcess, m_pAddress, 0, MEM_RELEASE); }
    CRemoteBuffer(const CRemoteBuffer&) = delete;
    CRemoteBuffer& operator=(const CRemoteBuffer&) = delete;

    char* At(size_t nOffset) const { return static_cast<char*>(m_pAddress) + nOffset; }
    void Write(size_t nOffset, const void* pData, size_t cb) const {
        if (!WriteProcessMemory(m_hProcess, At(nOffset), pData, cb, nullptr))
            throw std::runtime_error("cannot write the program's memory");
    }
    void Read(size_t nOffset, void* pData, size_t cb) const {
        if (!ReadProcessMemory(m_hProcess, At(nOffset), pData, cb, nullptr))
            throw std::runtime_error("cannot read the program's memory");
    }

private:
    HANDLE m_hProcess;
    void* m_pAddress = nullptr;
};

struct WindowSearch {
    DWORD nProcessId;
    const char* pszClass;
    const char* pszTitle; // null: any title
    HWND hFound = nullptr;
};

BOOL CALLBACK FindProcessWindow(HWND hWnd, LPARAM lParam) {
    auto* search = reinterpret_cast<WindowSearch*>(lParam);
    DWORD nProcessId = 0;
    GetWindowThreadProcessId(hWnd, &nProcessId);
    char szClass[64] = "";
    GetClassNameA(hWnd, szClass, sizeof szClass);
    if (nProcessId != search->nProcessId || !IsWindowVisible(hWnd) ||
        std::string(szClass) != search->pszClass)
        return TRUE;
    char szTitle[256] = "";
    GetWindowTextA(hWnd, szTitle, sizeof szTitle);
    if (search->pszTitle && std::string(szTitle) != search->pszTitle)
        return TRUE;
    search->hFound = hWnd;
    return FALSE;
}

// A visible top-level window of the process, as soon as there is one.
HWND WaitForWindow(DWORD nProcessId, const char* pszClass, const char* pszTitle,
                   DWORD nMilliseconds) {
    const DWORD nStart = GetTickCount();
    do {
        WindowSearch search{nProcessId, pszClass, pszTitle};
        EnumWindows(FindProcessWindow, reinterpret_cast<LPARAM>(&search));
        if (search.hFound)
            return search.hFound;
        Sleep(10);
    } while (GetTickCount() - nStart < nMilliseconds);
    return nullptr;
}

// The key data of a posted key message, as the keyboard would give it.
LPARAM KeyData(UINT nVirtualKey, bool bAltDown) {
    LPARAM lParam = 1 | (static_cast<LPARAM>(MapVirtualKeyA(nVirtualKey, MAPVK_VK_TO_VSC)) << 16);
    if (bAltDown)
        lParam |= KF_ALTDOWN << 16;
    return lParam;
}

} // namespace

std::string QuillonExePath() {
    char szPath[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strPath = szPath;
    // Up from the program's file and from its folder "tests".
    for (int i = 0; i < 2; ++i)
        strPath.erase(strPath.find_last_of('\\'));
    return strPath + "\\src\\Quillon.exe";
}

std::string CurrentUserSid() {
    HANDLE hToken = nullptr;
    if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &hToken))
        return "";
    std::string strSid;
    char buffer[256];
    DWORD cb = 0;
    if (GetTokenInformation(hToken, TokenUser, buffer, sizeof buffer, &cb)) {
        char* pszSid = nullptr;
        if (ConvertSidToStringSidA(reinterpret_cast<TOKEN_USER*>(buffer)->User.Sid, &pszSid)) {
            strSid = pszSid;
            LocalFree(pszSid);
        }
    }
    CloseHandle(hToken);
    return strSid;
}

CRemoteQuillon::CRemoteQuillon() = default;

CRemoteQuillon::~CRemoteQuillon() {
    if (m_info.hProcess) {
        if (WaitForSingleObject(m_info.hProcess, 0) == WAIT_TIMEOUT) {
            TerminateProcess(m_info.hProcess, 1);
            WaitForSingleObject(m_info.hProcess, 10000);
        }
        CloseHandle(m_info.hProcess);
        CloseHandle(m_info.hThread);
    }
}

bool CRemoteQuillon::Start(DWORD nMilliseconds) {
    const std::string strPath = QuillonExePath();
    if (GetFileAttributesA(strPath.c_str()) == INVALID_FILE_ATTRIBUTES) {
        m_strError = "no program at " + strPath;
        return false;
    }
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    std::string strCommandLine = "\"" + strPath + "\"";
    if (!CreateProcessA(strPath.c_str(), strCommandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        nullptr, &startup, &m_info)) {
        m_strError = "cannot start " + strPath + ", error " + std::to_string(GetLastError());
        return false;
    }
    WaitForInputIdle(m_info.hProcess, nMilliseconds);
    m_hWndFrame =
        WaitForWindow(m_info.dwProcessId, kFrameClassAndTitle, kFrameClassAndTitle, nMilliseconds);
    if (!m_hWndFrame) {
        m_strError = "the main window did not appear";
        return false;
    }
    return true;
}

HWND CRemoteQuillon::List() const {
    return GetDlgItem(m_hWndFrame, kListId);
}

HWND CRemoteQuillon::StatusBar() const {
    return FindWindowExA(m_hWndFrame, nullptr, STATUSCLASSNAMEA, nullptr);
}

bool CRemoteQuillon::ChooseToolSearch() const {
    // Alt+T opens the Tool menu; its item "&Search" answers to S.
    PostMessageA(m_hWndFrame, WM_SYSKEYDOWN, 'T', KeyData('T', true));
    if (!WaitForWindow(m_info.dwProcessId, "#32768", nullptr, 10000))
        return false;
    PostMessageA(m_hWndFrame, WM_KEYDOWN, 'S', KeyData('S', false));
    return true;
}

HWND CRemoteQuillon::WaitForDialog(const std::string& strCaption, DWORD nMilliseconds) const {
    return WaitForWindow(m_info.dwProcessId, "#32770", strCaption.c_str(), nMilliseconds);
}

bool CRemoteQuillon::WaitForExit(DWORD nMilliseconds) const {
    return WaitForSingleObject(m_info.hProcess, nMilliseconds) == WAIT_OBJECT_0;
}

std::vector<ResultRow> CRemoteQuillon::Rows() const {
    HWND hList = List();
    const int nCount = static_cast<int>(SendMessageA(hList, LVM_GETITEMCOUNT, 0, 0));
    // An item description and, after it, the text buffer that it points to.
    constexpr size_t kTextOffset = 256;
    constexpr int kTextSize = 8192;
    static_assert(sizeof(LVITEMA) <= kTextOffset, "the item must fit before the text");
    CRemoteBuffer buffer(m_info.hProcess, kTextOffset + kTextSize);

    std::vector<ResultRow> rows;
    for (int nRow = 0; nRow < nCount; ++nRow) {
        ResultRow row;
        std::string* cells[] = {&row.strRootKey, &row.strKeyPath, &row.strValueName,
                                &row.strValueData};
        for (int nColumn = 0; nColumn < 4; ++nColumn) {
            LVITEMA item{};
            item.iSubItem = nColumn;
            item.pszText = buffer.At(kTextOffset);
            item.cchTextMax = kTextSize;
            buffer.Write(0, &item, sizeof item);
            const int nCopied = static_cast<int>(SendMessageA(
                hList, LVM_GETITEMTEXTA, nRow, reinterpret_cast<LPARAM>(buffer.At(0))));
            std::string text(nCopied > 0 ? nCopied : 0, '\0');
            buffer.Read(kTextOffset, text.data(), text.size());
            *cells[nColumn] = text;
        }
        LVITEMA item{};
        item.mask = LVIF_IMAGE;
        item.iItem = nRow;
        buffer.Write(0, &item, sizeof item);
        if (SendMessageA(hList, LVM_GETITEMA, 0, reinterpret_cast<LPARAM>(buffer.At(0)))) {
            buffer.Read(0, &item, sizeof item);
            row.nCheck = item.iImage;
        } else {
            row.nCheck = -1;
        }
        rows.push_back(row);
    }
    return rows;
}

std::string CRemoteQuillon::PaneText(int nPane) const {
    HWND hBar = StatusBar();
    const LRESULT nInfo = SendMessageA(hBar, SB_GETTEXTLENGTHA, nPane, 0);
    const size_t nLength = LOWORD(nInfo);
    CRemoteBuffer buffer(m_info.hProcess, nLength + 1);
    SendMessageA(hBar, SB_GETTEXTA, nPane, reinterpret_cast<LPARAM>(buffer.At(0)));
    std::string text(nLength, '\0');
    buffer.Read(0, text.data(), nLength);
    return text;
}

bool WaitUntil(const std::function<bool()>& bDone, DWORD nMilliseconds) {
    const DWORD nStart = GetTickCount();
    while (!bDone()) {
        if (GetTickCount() - nStart > nMilliseconds)
            return false;
        Sleep(20);
    }
    return true;
}
