#include "search/registry_walker.h"

#include "platform/wide_text.h"
#include "results/result_list.h"
#include "search/matching_rule.h"
#include "search/progress_texts.h"

#include <algorithm>
#include <vector>

namespace {

// How often a read is retried with a bigger buffer when the registry answers
// that the name or data grew since the key's sizes were read.
constexpr int kReadAttempts = 4;
// The registry's own limit on a value name, in characters.
constexpr DWORD kMaxValueNameChars = 16383;

// A key path below the root key and whether it lost characters on its way
// to the ANSI code page (every key below such a key inherits the loss).
struct KeyPath {
    std::string strText;
    bool bLost = false;
};

// Closes a subkey through the operations table on every way out of a level.
class ScopedSubKey {
public:
    explicit ScopedSubKey(const RegistryOps& ops) : m_ops(ops) {}
    ~ScopedSubKey() {
        if (m_hKey)
            m_ops.CloseKey(m_hKey);
    }
    ScopedSubKey(const ScopedSubKey&) = delete;
    ScopedSubKey& operator=(const ScopedSubKey&) = delete;

    HKEY* Receive() { return &m_hKey; }
    HKEY Get() const { return m_hKey; }

private:
    const RegistryOps& m_ops;
    HKEY m_hKey = nullptr;
};

// One value as read from the registry.
struct RawValue {
    std::vector<wchar_t> name;
    std::vector<BYTE> data;
    DWORD cchName = 0;
    DWORD cbData = 0;
    DWORD nType = 0;

    std::wstring_view Name() const { return {name.data(), cchName}; }

    std::wstring_view AllData() const {
        return {reinterpret_cast<const wchar_t*>(data.data()), cbData / sizeof(wchar_t)};
    }

    // The data as wide text up to its first NUL.
    std::wstring_view DataText() const { return AllData().substr(0, AllData().find(L'\0')); }

    // Whether anything but NULs follows the first NUL: such data cannot be
    // written back as a text without losing that part.
    bool HasDataAfterNul() const {
        const std::wstring_view all = AllData();
        const size_t nNul = all.find(L'\0');
        return nNul != std::wstring_view::npos &&
               all.find_first_not_of(L'\0', nNul) != std::wstring_view::npos;
    }
};

class CRegistryWalker {
public:
    CRegistryWalker(HWND hWndNotify, HWND hWndList, UINT nMsgKeyCount, UINT nMsgKeyPath,
                    std::atomic<LONG>* pbSearching, const std::string& strFind,
                    const std::string& strFindShort, const std::string& strRootKey,
                    int* pnKeyCount, const RegistryOps& ops, CSearchPacer* pPacer)
        : m_hWndNotify(hWndNotify), m_hWndList(hWndList), m_nMsgKeyCount(nMsgKeyCount),
          m_nMsgKeyPath(nMsgKeyPath), m_pbSearching(pbSearching), m_strFind(strFind),
          m_rule(strFind, strFindShort), m_strRootKey(strRootKey), m_pnKeyCount(pnKeyCount),
          m_ops(ops), m_pPacer(pPacer) {}

    BOOL WalkKey(const KeyPath& path, HKEY hKey);

private:
    bool ReadValue(HKEY hKey, DWORD nIndex, RawValue& value) const;
    std::vector<std::wstring> ReadSubKeyNames(HKEY hKey, const RegistryOps::KeyInfo& info) const;
    void ExamineValue(const KeyPath& path, const RawValue& value) const;
    void AnnounceKey(const std::string& strKeyPath) const;

    HWND m_hWndNotify;
    HWND m_hWndList;
    UINT m_nMsgKeyCount;
    UINT m_nMsgKeyPath;
    std::atomic<LONG>* m_pbSearching;
    const std::string& m_strFind;
    CMatchingRule m_rule;
    const std::string& m_strRootKey;
    int* m_pnKeyCount;
    const RegistryOps& m_ops;
    CSearchPacer* m_pPacer;
};

BOOL CRegistryWalker::WalkKey(const KeyPath& path, HKEY hKey) {
    if (!m_pbSearching)
        return FALSE;
    if (m_pbSearching->load() == 0)
        return TRUE;
    if (m_strFind.empty() || !IsWindow(m_hWndNotify) || !IsWindow(m_hWndList) ||
        m_strRootKey.empty() || !hKey || !m_pnKeyCount)
        return FALSE;

    try {
        RegistryOps::KeyInfo info;
        // A key that cannot be read (deleted while the walk was under way, or
        // refused) is skipped with what is below it; its siblings still follow.
        if (m_ops.QueryInfoKey(hKey, info) != ERROR_SUCCESS)
            return TRUE;

        RawValue value;
        value.name.resize(info.nMaxValueNameChars + 2);
        value.data.resize(info.nMaxValueBytes + 2);
        for (DWORD i = 0; i < info.nValues; ++i) {
            if (ReadValue(hKey, i, value))
                ExamineValue(path, value);
        }

        for (const std::wstring& subKeyName : ReadSubKeyNames(hKey, info)) {
            // Open by the exact wide name: an ANSI name would hold '?' for a
            // character the code page lacks and open nothing. Read access is
            // all that a search needs, and all that a standard user has on
            // most of the machine's keys.
            ScopedSubKey subKey(m_ops);
            if (m_ops.OpenKey(hKey, subKeyName.c_str(), KEY_READ, subKey.Receive()) !=
                    ERROR_SUCCESS ||
                !subKey.Get())
                continue;

            KeyPath subPath;
            std::string strName;
            subPath.bLost = !WideToAnsi(subKeyName, strName) || path.bLost;
            subPath.strText = path.strText + "\\" + strName;

            AnnounceKey(subPath.strText);
            ++*m_pnKeyCount;
            if (!WalkKey(subPath, subKey.Get()))
                return FALSE;
        }
        return TRUE;
    } catch (...) {
        return FALSE;
    }
}

bool CRegistryWalker::ReadValue(HKEY hKey, DWORD nIndex, RawValue& value) const {
    for (int nAttempt = 0; nAttempt < kReadAttempts; ++nAttempt) {
        value.cchName = static_cast<DWORD>(value.name.size() - 1);
        value.cbData = static_cast<DWORD>(value.data.size() - 2);
        value.nType = REG_NONE;
        const LONG nResult = m_ops.EnumValue(hKey, nIndex, value.name.data(), &value.cchName,
                                             &value.nType, value.data.data(), &value.cbData);
        if (nResult == ERROR_SUCCESS)
            return true;
        if (nResult != ERROR_MORE_DATA)
            return false;
        // The value grew after the key's sizes were read: read it again with
        // the size that the registry reports now (or more, if it grew again).
        const size_t nNeeded = std::max<size_t>(value.cbData, value.data.size() * 2);
        value.data.resize(nNeeded + 2);
        value.name.resize(std::max<size_t>(value.name.size(), kMaxValueNameChars + 2));
    }
    return false;
}

std::vector<std::wstring> CRegistryWalker::ReadSubKeyNames(HKEY hKey,
                                                           const RegistryOps::KeyInfo& info) const {
    // All names are read before the first subkey is entered: a subkey that is
    // deleted while the walk is below another one then costs only itself,
    // where a walk by index would shift and lose the sibling after it.
    std::vector<std::wstring> names;
    names.reserve(info.nSubKeys);
    std::vector<wchar_t> buffer(info.nMaxSubKeyChars + 2);
    for (DWORD i = 0; i < info.nSubKeys; ++i) {
        for (int nAttempt = 0; nAttempt < kReadAttempts; ++nAttempt) {
            DWORD cch = static_cast<DWORD>(buffer.size() - 1);
            const LONG nResult = m_ops.EnumKey(hKey, i, buffer.data(), &cch);
            if (nResult == ERROR_SUCCESS) {
                names.emplace_back(buffer.data(), cch);
                break;
            }
            if (nResult != ERROR_MORE_DATA)
                break; // that subkey is skipped
            buffer.resize(std::max<size_t>(buffer.size() * 2, 258));
        }
    }
    return names;
}

void CRegistryWalker::ExamineValue(const KeyPath& path, const RawValue& value) const {
    if (value.nType != REG_SZ)
        return; // only string values ever match: no need to convert the rest
    ResultRow row;
    const bool bDataExact = WideToAnsi(value.DataText(), row.strValueData);
    if (!m_rule.Matches(value.nType, row.strValueData))
        return;

    const bool bNameExact = WideToAnsi(value.Name(), row.strValueName);
    if (value.cchName == 0) {
        row.strValueName = "(Default)";
        row.nFlags |= kRowUnnamedValue;
    }
    if (path.bLost)
        row.nFlags |= kRowKeyPathLost;
    if (!bNameExact)
        row.nFlags |= kRowNameLost;
    if (!bDataExact)
        row.nFlags |= kRowDataLost;
    if (value.HasDataAfterNul())
        row.nFlags |= kRowDataAfterNul;
    row.strRootKey = m_strRootKey;
    row.strKeyPath = path.strText;
    row.nCheck = 1;
    if (m_pPacer)
        m_pPacer->AddRow(m_hWndNotify, std::move(row));
    else
        CResultList(m_hWndList).AppendRow(row);
}

void CRegistryWalker::AnnounceKey(const std::string& strKeyPath) const {
    if (m_pPacer && !m_pPacer->TextsDue(m_hWndNotify, *m_pnKeyCount, m_strRootKey, strKeyPath))
        return;
    SendProgressTexts(m_hWndNotify, m_nMsgKeyCount, m_nMsgKeyPath, *m_pnKeyCount,
                      m_strRootKey + strKeyPath);
}

} // namespace

BOOL RecurseRegistry(HWND hWndNotify, HWND hWndList, UINT nMsgKeyCount, UINT nMsgKeyPath,
                     std::atomic<LONG>* pbSearching, const std::string& strFind,
                     const std::string& strFindShort, const std::string& strRootKey,
                     const std::string& strKeyPath, HKEY hKey, int* pnKeyCount,
                     const RegistryOps& ops, CSearchPacer* pPacer) {
    try {
        CRegistryWalker walker(hWndNotify, hWndList, nMsgKeyCount, nMsgKeyPath, pbSearching,
                               strFind, strFindShort, strRootKey, pnKeyCount, ops, pPacer);
        return walker.WalkKey(KeyPath{strKeyPath, false}, hKey);
    } catch (...) {
        return FALSE;
    }
}
