#include "search/registry_ops.h"

namespace {

RegistryOps MakeRealOps() {
    RegistryOps ops;
    ops.QueryInfoKey = [](HKEY hKey, RegistryOps::KeyInfo& info) {
        // The class name is not asked for: the walker has no use for it, and
        // a long one would make the whole call fail.
        return RegQueryInfoKeyW(hKey, nullptr, nullptr, nullptr, &info.nSubKeys,
                                &info.nMaxSubKeyChars, nullptr, &info.nValues,
                                &info.nMaxValueNameChars, &info.nMaxValueBytes, nullptr, nullptr);
    };
    ops.EnumValue = [](HKEY hKey, DWORD nIndex, wchar_t* pszName, DWORD* pcchName, DWORD* pnType,
                       BYTE* pData, DWORD* pcbData) {
        return RegEnumValueW(hKey, nIndex, pszName, pcchName, nullptr, pnType, pData, pcbData);
    };
    ops.EnumKey = [](HKEY hKey, DWORD nIndex, wchar_t* pszName, DWORD* pcchName) {
        return RegEnumKeyExW(hKey, nIndex, pszName, pcchName, nullptr, nullptr, nullptr, nullptr);
    };
    ops.OpenKey = [](HKEY hKey, const wchar_t* pszSubKey, REGSAM nAccess, HKEY* phSubKey) {
        return RegOpenKeyExW(hKey, pszSubKey, 0, nAccess, phSubKey);
    };
    ops.CloseKey = [](HKEY hKey) { return RegCloseKey(hKey); };
    return ops;
}

} // namespace

const RegistryOps& RegistryOps::Real() {
    static const RegistryOps real = MakeRealOps();
    return real;
}
