#ifndef QUILLON_TESTS_EXPORT_REGISTRY_SNAPSHOT_H
#define QUILLON_TESTS_EXPORT_REGISTRY_SNAPSHOT_H

#include <gtest/gtest.h>

#include <windows.h>

#include <cstdio>
#include <cstring>
#include <map>
#include <set>
#include <string>
#include <utility>
#include <vector>

// Everything below a registry key, read with the wide registry API, byte for
// byte: to show that an import changed exactly what it should and nothing
// else.

struct StoredValue {
    DWORD nType = REG_NONE;
    std::vector<BYTE> bytes;
    bool operator==(const StoredValue& other) const {
        return nType == other.nType && bytes == other.bytes;
    }
    bool operator!=(const StoredValue& other) const { return !(*this == other); }
};

// A REG_SZ value as the registry editor stores a text: the text and a NUL.
inline StoredValue TextValue(const std::wstring& text) {
    StoredValue value;
    value.nType = REG_SZ;
    const auto* pBytes = reinterpret_cast<const BYTE*>(text.c_str());
    value.bytes.assign(pBytes, pBytes + (text.size() + 1) * sizeof(wchar_t));
    return value;
}

// Key path below the key ("" for the key itself, else "\\a\\b") and value name.
using ValueWhere = std::pair<std::wstring, std::wstring>;

struct RegistrySnapshot {
    std::set<std::wstring> keys;
    std::map<ValueWhere, StoredValue> values;
};

// Wide text made readable in a test's output: ASCII as it is, everything
// else (line breaks, NULs, accents, other scripts) as \u{hex}.
inline std::string Printable(const std::wstring& text) {
    std::string strOut;
    for (wchar_t ch : text) {
        if (ch >= 0x20 && ch < 0x7F && ch != L'\\') {
            strOut += static_cast<char>(ch);
        } else if (ch == L'\\') {
            strOut += "\\\\";
        } else {
            char szCode[16];
            std::snprintf(szCode, sizeof szCode, "\\u{%x}", static_cast<unsigned>(ch));
            strOut += szCode;
        }
    }
    return strOut;
}

inline std::string Printable(const StoredValue& value) {
    std::wstring text(value.bytes.size() / sizeof(wchar_t), L'\0');
    if (!text.empty())
        std::memcpy(text.data(), value.bytes.data(), text.size() * sizeof(wchar_t));
    return "type " + std::to_string(value.nType) + ", " + std::to_string(value.bytes.size()) +
           " bytes: \"" + Printable(text) + "\"";
}

inline std::string Printable(const ValueWhere& where) {
    return "[" + Printable(where.first) + "] \"" + Printable(where.second) + "\"";
}

inline void TakeSnapshot(HKEY hKey, const std::wstring& path, RegistrySnapshot& snapshot) {
    snapshot.keys.insert(path);
    DWORD nSubKeys = 0, nMaxSubKey = 0, nValues = 0, nMaxName = 0, nMaxData = 0;
    ASSERT_EQ(RegQueryInfoKeyW(hKey, nullptr, nullptr, nullptr, &nSubKeys, &nMaxSubKey, nullptr,
                               &nValues, &nMaxName, &nMaxData, nullptr, nullptr),
              ERROR_SUCCESS);
    for (DWORD i = 0; i < nValues; ++i) {
        std::wstring name(nMaxName + 1, L'\0');
        DWORD nName = nMaxName + 1;
        StoredValue value;
        value.bytes.resize(nMaxData);
        DWORD cbData = nMaxData;
        ASSERT_EQ(RegEnumValueW(hKey, i, name.data(), &nName, nullptr, &value.nType,
                                value.bytes.data(), &cbData),
                  ERROR_SUCCESS);
        name.resize(nName);
        value.bytes.resize(cbData);
        snapshot.values[{path, name}] = value;
    }
    for (DWORD i = 0; i < nSubKeys; ++i) {
        std::wstring name(nMaxSubKey + 1, L'\0');
        DWORD nName = nMaxSubKey + 1;
        ASSERT_EQ(RegEnumKeyExW(hKey, i, name.data(), &nName, nullptr, nullptr, nullptr, nullptr),
                  ERROR_SUCCESS);
        name.resize(nName);
        HKEY hSub = nullptr;
        ASSERT_EQ(RegOpenKeyExW(hKey, name.c_str(), 0, KEY_READ, &hSub), ERROR_SUCCESS);
        TakeSnapshot(hSub, path + L"\\" + name, snapshot);
        RegCloseKey(hSub);
    }
}

inline RegistrySnapshot TakeSnapshot(HKEY hKey) {
    RegistrySnapshot snapshot;
    TakeSnapshot(hKey, L"", snapshot);
    return snapshot;
}

// Empties the key and writes the snapshot's keys and values into it.
inline void WriteSnapshot(HKEY hKey, const RegistrySnapshot& snapshot) {
    ASSERT_EQ(RegDeleteTreeW(hKey, nullptr), ERROR_SUCCESS);
    for (const std::wstring& path : snapshot.keys) {
        if (path.empty())
            continue;
        HKEY hSub = nullptr;
        ASSERT_EQ(RegCreateKeyExW(hKey, path.c_str() + 1, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr,
                                  &hSub, nullptr),
                  ERROR_SUCCESS);
        RegCloseKey(hSub);
    }
    for (const auto& [where, value] : snapshot.values)
        ASSERT_EQ(RegSetKeyValueW(hKey, where.first.empty() ? nullptr : where.first.c_str() + 1,
                                  where.second.empty() ? nullptr : where.second.c_str(),
                                  value.nType, value.bytes.data(),
                                  static_cast<DWORD>(value.bytes.size())),
                  ERROR_SUCCESS);
}

// Every difference between two snapshots, described.
inline std::vector<std::string> Differences(const RegistrySnapshot& actual,
                                            const RegistrySnapshot& expected) {
    std::vector<std::string> differences;
    for (const std::wstring& path : expected.keys)
        if (!actual.keys.count(path))
            differences.push_back("missing key [" + Printable(path) + "]");
    for (const std::wstring& path : actual.keys)
        if (!expected.keys.count(path))
            differences.push_back("unexpected key [" + Printable(path) + "]");
    for (const auto& [where, value] : expected.values) {
        auto it = actual.values.find(where);
        if (it == actual.values.end())
            differences.push_back("missing value " + Printable(where));
        else if (it->second != value)
            differences.push_back("value " + Printable(where) + "\n  is       " +
                                  Printable(it->second) + "\n  expected " + Printable(value));
    }
    for (const auto& [where, value] : actual.values)
        if (!expected.values.count(where))
            differences.push_back("unexpected value " + Printable(where) + " = " +
                                  Printable(value));
    return differences;
}

// Runs the system registry editor with the arguments and waits for it.
inline void RunRegedit(const std::string& strArguments) {
    char szWindows[MAX_PATH + 1] = "";
    GetWindowsDirectoryA(szWindows, MAX_PATH);
    const std::string strProgram = std::string(szWindows) + "\\regedit.exe";
    std::string strCommand = "\"" + strProgram + "\" " + strArguments;
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    ASSERT_TRUE(CreateProcessA(strProgram.c_str(), strCommand.data(), nullptr, nullptr, FALSE, 0,
                               nullptr, nullptr, &startup, &process))
        << GetLastError();
    // A generous bound, only so that a stuck editor fails the test instead
    // of hanging the run.
    const DWORD nWait = WaitForSingleObject(process.hProcess, 120000);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    ASSERT_EQ(nWait, WAIT_OBJECT_0) << strCommand;
}

// Imports a file with the registry editor, silently (as a double click on
// the file does after the user's consent).
inline void ImportSilently(const std::string& strFile) {
    RunRegedit("/s \"" + strFile + "\"");
}

// The registry editor's own export of a key (regedit /e): a UTF-16 text,
// returned without its byte order mark.
inline std::wstring ExportWithRegedit(const std::string& strKeyName, const std::string& strFile) {
    DeleteFileA(strFile.c_str());
    RunRegedit("/e \"" + strFile + "\" \"" + strKeyName + "\"");
    std::wstring text;
    HANDLE hFile = CreateFileA(strFile.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                               OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return text;
    const DWORD cbFile = GetFileSize(hFile, nullptr);
    std::vector<BYTE> bytes(cbFile);
    DWORD cbRead = 0;
    ReadFile(hFile, bytes.data(), cbFile, &cbRead, nullptr);
    CloseHandle(hFile);
    DeleteFileA(strFile.c_str());
    text.assign(cbRead / sizeof(wchar_t), L'\0');
    if (!text.empty())
        std::memcpy(text.data(), bytes.data(), text.size() * sizeof(wchar_t));
    if (!text.empty() && text.front() == 0xFEFF)
        text.erase(0, 1);
    return text;
}

// The lines of one export that the other lacks, for a test's output.
inline std::string LineDifferences(const std::wstring& actual, const std::wstring& expected) {
    auto Split = [](const std::wstring& text) {
        std::multiset<std::wstring> lines;
        size_t nStart = 0;
        for (size_t nEnd; (nEnd = text.find(L"\r\n", nStart)) != std::wstring::npos;
             nStart = nEnd + 2)
            lines.insert(text.substr(nStart, nEnd - nStart));
        lines.insert(text.substr(nStart));
        return lines;
    };
    const std::multiset<std::wstring> actualLines = Split(actual);
    const std::multiset<std::wstring> expectedLines = Split(expected);
    std::string strOut;
    for (const std::wstring& line : actualLines)
        if (!expectedLines.count(line))
            strOut += "  only in the first:  " + Printable(line) + "\n";
    for (const std::wstring& line : expectedLines)
        if (!actualLines.count(line))
            strOut += "  only in the second: " + Printable(line) + "\n";
    return strOut;
}

#endif
