#include "platform/wide_text.h"

#include <windows.h>

bool WideToAnsi(std::wstring_view wide, std::string& strAnsi) {
    strAnsi.clear();
    if (wide.empty())
        return true;
    const int nWide = static_cast<int>(wide.size());
    // WC_NO_BEST_FIT_CHARS keeps a letter that the code page lacks from being
    // turned into a similar one silently: it becomes the default character.
    int nBytes = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), nWide, nullptr,
                                     0, nullptr, nullptr);
    if (nBytes <= 0)
        return false;
    strAnsi.resize(nBytes);
    WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide.data(), nWide, strAnsi.data(), nBytes,
                        nullptr, nullptr);
    return AnsiToWide(strAnsi) == wide;
}

std::wstring AnsiToWide(std::string_view ansi) {
    std::wstring wide;
    if (ansi.empty())
        return wide;
    const int nBytes = static_cast<int>(ansi.size());
    int nWide = MultiByteToWideChar(CP_ACP, 0, ansi.data(), nBytes, nullptr, 0);
    if (nWide <= 0)
        return wide;
    wide.resize(nWide);
    MultiByteToWideChar(CP_ACP, 0, ansi.data(), nBytes, wide.data(), nWide);
    return wide;
}
