#ifndef QUILLON_TESTS_SUPPORT_TEST_KEY_H
#define QUILLON_TESTS_SUPPORT_TEST_KEY_H

#include <windows.h>

#include <string>

// A key of the current test's own under HKEY_CURRENT_USER\Software\QuillonTest,
// named after the test. It is made empty when the test starts (a crashed
// earlier run may have left one) and removed with everything below it at the
// end, so tests never see each other's values.
class CTestKey {
public:
    CTestKey();
    ~CTestKey();
    CTestKey(const CTestKey&) = delete;
    CTestKey& operator=(const CTestKey&) = delete;

    HKEY Handle() const { return m_hKey; }
    // The key's path below HKEY_CURRENT_USER, with a backslash before each
    // level, as the search shows it: \Software\QuillonTest\<test>.
    const std::string& KeyPath() const { return m_strKeyPath; }

    // Creates the subkey (and those above it) below the test key.
    void CreateSubKey(const std::wstring& subKey, const std::wstring& className = L"") const;
    // Writes a value into the subkey ("" for the test key itself), making
    // the subkey if needed.
    void SetValue(const std::wstring& subKey, const std::wstring& name, DWORD nType,
                  const void* pData, DWORD cbData) const;
    // A string value; the stored data ends with the text's NUL.
    void SetString(const std::wstring& subKey, const std::wstring& name, const std::wstring& data,
                   DWORD nType = REG_SZ) const;
    void DeleteSubKey(const std::wstring& subKey) const;

private:
    std::wstring m_wideRelativePath; // below HKEY_CURRENT_USER, no leading backslash
    std::string m_strKeyPath;
    HKEY m_hKey = nullptr;
};

#endif
