// Fills HKEY_CURRENT_USER\Software\QuillonBench with a synthetic registry for
// the search benchmark: about 100,000 keys, branching about 10, depth up to
// 6, 0 to 8 values of mixed types per key, long and short names, and about
// 1% of the string values holding the find text (some in its short form).
// The same start value gives the same registry every time.
//
// Usage: make_registry.exe FIND_TEXT (an existing folder, so it has a short form)
#include <windows.h>

#include <cstdio>
#include <random>
#include <string>
#include <vector>

namespace {

constexpr int kKeyBudget = 100000;
constexpr int kMaxDepth = 6;
constexpr unsigned kStart = 20261211;
// Stored when the registry is complete; a different number makes it anew.
constexpr DWORD kLayoutVersion = 2;
const wchar_t kBenchKey[] = L"Software\\QuillonBench";

struct Generator {
    std::mt19937 random{kStart};
    std::wstring find, shortForm;
    int nKeys = 0, nValues = 0, nHits = 0;

    int Uniform(int nLow, int nHigh) {
        return std::uniform_int_distribution<int>(nLow, nHigh)(random);
    }

    std::wstring Name(const wchar_t* pszStem, int nIndex) {
        std::wstring name = pszStem + std::to_wstring(nIndex);
        // Some names are long, as real ones often are.
        if (Uniform(0, 3) == 0)
            name += L" Component Settings and Options " + std::to_wstring(Uniform(0, 99999));
        return name;
    }

    std::wstring PathText() {
        static const wchar_t* const kParts[] = {L"C:\\Windows", L"D:\\Tools", L"%SystemRoot%",
                                                L"C:\\Users\\Public", L"E:\\Data\\Archive"};
        std::wstring text = kParts[Uniform(0, 4)];
        for (int i = Uniform(1, 4); i > 0; --i)
            text += L"\\part" + std::to_wstring(Uniform(0, 999));
        return text + L"\\file.dll";
    }

    std::wstring StringData() {
        std::wstring text = PathText();
        if (Uniform(0, 99) == 0) {
            ++nHits;
            std::wstring hit = Uniform(0, 2) == 0 ? shortForm : find;
            if (Uniform(0, 1))
                CharLowerBuffW(hit.data(), static_cast<DWORD>(hit.size()));
            text = Uniform(0, 1) ? hit + L"\\bin\\tool.exe" : L"\"" + text + L"\";" + hit;
        }
        return text;
    }

    void WriteValues(HKEY hKey) {
        for (int i = Uniform(0, 8); i > 0; --i, ++nValues) {
            const std::wstring name = Name(L"Value", i);
            const int nKind = Uniform(0, 9);
            if (nKind < 5 || nKind == 9) {
                const DWORD nType = nKind == 9 ? REG_EXPAND_SZ : REG_SZ;
                const std::wstring data = StringData();
                RegSetValueExW(hKey, name.c_str(), 0, nType,
                               reinterpret_cast<const BYTE*>(data.c_str()),
                               static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
            } else if (nKind < 7) {
                const DWORD nNumber = Uniform(0, 1 << 30);
                RegSetValueExW(hKey, name.c_str(), 0, REG_DWORD,
                               reinterpret_cast<const BYTE*>(&nNumber), sizeof nNumber);
            } else if (nKind == 7) {
                BYTE bytes[16];
                for (BYTE& b : bytes)
                    b = static_cast<BYTE>(Uniform(0, 255));
                RegSetValueExW(hKey, name.c_str(), 0, REG_BINARY, bytes, sizeof bytes);
            } else {
                const std::wstring multi = PathText() + L'\0' + PathText() + L'\0';
                RegSetValueExW(hKey, name.c_str(), 0, REG_MULTI_SZ,
                               reinterpret_cast<const BYTE*>(multi.c_str()),
                               static_cast<DWORD>((multi.size() + 1) * sizeof(wchar_t)));
            }
        }
    }

    // About 10 subkeys a key down to depth 5, and a few keys at depth 6.
    int Branching(int nDepth) {
        if (nDepth < 4)
            return Uniform(8, 12);
        if (nDepth == 4)
            return Uniform(5, 11);
        return nDepth < kMaxDepth ? Uniform(0, 1) : 0;
    }

    // Keys are made level by level, so that the budget is spread over the
    // whole tree instead of being spent on its first branch.
    void Fill(HKEY hRoot) {
        std::vector<std::pair<HKEY, int>> level{{hRoot, 0}};
        while (!level.empty() && nKeys < kKeyBudget) {
            std::vector<std::pair<HKEY, int>> next;
            for (auto [hKey, nDepth] : level) {
                const int nChildren = Branching(nDepth);
                for (int i = 0; i < nChildren && nKeys < kKeyBudget; ++i) {
                    HKEY hChild = nullptr;
                    const std::wstring name = Name(L"Key", i);
                    if (RegCreateKeyExW(hKey, name.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS,
                                        nullptr, &hChild, nullptr) != ERROR_SUCCESS)
                        continue;
                    ++nKeys;
                    WriteValues(hChild);
                    next.push_back({hChild, nDepth + 1});
                }
                if (hKey != hRoot)
                    RegCloseKey(hKey);
            }
            level.swap(next);
        }
        for (auto& entry : level)
            RegCloseKey(entry.first);
    }
};

} // namespace

int wmain(int argc, wchar_t** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_registry FIND_TEXT\n");
        return 2;
    }
    wchar_t szShort[MAX_PATH + 1] = L"";
    GetShortPathNameW(argv[1], szShort, MAX_PATH);
    RegDeleteTreeW(HKEY_CURRENT_USER, kBenchKey);
    HKEY hRoot = nullptr;
    if (RegCreateKeyExW(HKEY_CURRENT_USER, kBenchKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                        &hRoot, nullptr) != ERROR_SUCCESS)
        return 1;
    Generator generator;
    generator.find = argv[1];
    generator.shortForm = *szShort ? szShort : argv[1];
    generator.Fill(hRoot);
    const DWORD nDone = kLayoutVersion;
    RegSetValueExW(hRoot, L"Complete", 0, REG_DWORD, reinterpret_cast<const BYTE*>(&nDone),
                   sizeof nDone);
    RegCloseKey(hRoot);
    std::printf("synthetic registry: %d keys, %d values, %d string values with the find text\n",
                generator.nKeys, generator.nValues, generator.nHits);
    return 0;
}
