#ifndef QUILLON_SEARCH_REGISTRY_OPS_H
#define QUILLON_SEARCH_REGISTRY_OPS_H

#include <windows.h>

#include <functional>

// The registry calls that the walker makes, as a table. The default table
// calls the real registry; tests wrap it to bring about the faults that a real
// registry cannot be made to show on demand. Each call returns a Win32 error
// code, ERROR_SUCCESS on success. Names are UTF-16, read through the wide
// calls so that no character is lost on the way in.
struct RegistryOps {
    struct KeyInfo {
        DWORD nSubKeys = 0;
        DWORD nMaxSubKeyChars = 0;
        DWORD nValues = 0;
        DWORD nMaxValueNameChars = 0;
        DWORD nMaxValueBytes = 0;
    };

    std::function<LONG(HKEY hKey, KeyInfo& info)> QueryInfoKey;
    // pcchName and pcbData give the buffer sizes and receive the sizes read;
    // ERROR_MORE_DATA leaves in *pcbData the size that the data needs.
    std::function<LONG(HKEY hKey, DWORD nIndex, wchar_t* pszName, DWORD* pcchName, DWORD* pnType,
                       BYTE* pData, DWORD* pcbData)>
        EnumValue;
    std::function<LONG(HKEY hKey, DWORD nIndex, wchar_t* pszName, DWORD* pcchName)> EnumKey;
    std::function<LONG(HKEY hKey, const wchar_t* pszSubKey, REGSAM nAccess, HKEY* phSubKey)>
        OpenKey;
    std::function<LONG(HKEY hKey)> CloseKey;

    // The table of the real registry.
    static const RegistryOps& Real();
};

#endif
