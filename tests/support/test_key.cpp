#include "support/test_key.h"

#include "platform/wide_text.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

std::wstring CurrentTestName() {
    const testing::TestInfo* info = testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "." + info->name();
    for (char& c : name)
        if (c == '/')
            c = '_';
    return AnsiToWide(name);
}

void Check(LONG nResult, const char* what) {
    if (nResult != ERROR_SUCCESS)
        throw std::runtime_error(std::string(what) + " failed with " + std::to_string(nResult));
}

} // namespace

CTestKey::CTestKey() {
    m_wideRelativePath = L"Software\\QuillonTest\\" + CurrentTestName();
    RegDeleteTreeW(HKEY_CURRENT_USER, m_wideRelativePath.c_str());
    Check(RegCreateKeyExW(HKEY_CURRENT_USER, m_wideRelativePath.c_str(), 0, nullptr, 0,
                          KEY_ALL_ACCESS, nullptr, &m_hKey, nullptr),
          "creating the test key");
    std::string strAnsi;
    WideToAnsi(m_wideRelativePath, strAnsi);
    m_strKeyPath = "\\" + strAnsi;
}

CTestKey::~CTestKey() {
    RegCloseKey(m_hKey);
    RegDeleteTreeW(HKEY_CURRENT_USER, m_wideRelativePath.c_str());
}

void CTestKey::CreateSubKey(const std::wstring& subKey, const std::wstring& className) const {
    HKEY hSub = nullptr;
    Check(RegCreateKeyExW(m_hKey, subKey.c_str(), 0,
                          className.empty() ? nullptr : const_cast<wchar_t*>(className.c_str()),
                          0, KEY_ALL_ACCESS, nullptr, &hSub, nullptr),
          "creating a subkey");
    RegCloseKey(hSub);
}

void CTestKey::SetValue(const std::wstring& subKey, const std::wstring& name, DWORD nType,
                        const void* pData, DWORD cbData) const {
    if (!subKey.empty())
        CreateSubKey(subKey);
    Check(RegSetKeyValueW(m_hKey, subKey.empty() ? nullptr : subKey.c_str(),
                          name.empty() ? nullptr : name.c_str(), nType, pData, cbData),
          "writing a value");
}

void CTestKey::SetString(const std::wstring& subKey, const std::wstring& name,
                         const std::wstring& data, DWORD nType) const {
    SetValue(subKey, name, nType, data.c_str(),
             static_cast<DWORD>((data.size() + 1) * sizeof(wchar_t)));
}

void CTestKey::DeleteSubKey(const std::wstring& subKey) const {
    RegDeleteTreeW(m_hKey, subKey.c_str());
    RegDeleteKeyW(m_hKey, subKey.c_str());
}
