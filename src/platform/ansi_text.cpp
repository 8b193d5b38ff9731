#include "platform/ansi_text.h"

#include <windows.h>

#include <array>
#include <cstring>

namespace {

// The ANSI code page of a process never changes while it runs, so its
// character classes and upper-case forms are worked out once.
struct CodePageTables {
    bool bDoubleByte = false;
    std::array<bool, 256> isLead{};
    std::array<unsigned char, 256> upper{};

    CodePageTables() {
        CPINFO info{};
        bDoubleByte = GetCPInfo(CP_ACP, &info) && info.MaxCharSize == 2;
        for (int c = 0; c < 256; ++c) {
            isLead[c] = bDoubleByte && IsDBCSLeadByteEx(CP_ACP, static_cast<BYTE>(c));
            upper[c] = static_cast<unsigned char>(c);
            if (!isLead[c]) {
                char ch = static_cast<char>(c);
                std::string converted = UpperOneCharacter(&ch, 1);
                if (converted.size() == 1)
                    upper[c] = static_cast<unsigned char>(converted[0]);
            }
        }
    }

    // The upper-case form of one character of the code page, or an empty
    // text when it has none of the same length (such as a small letter whose
    // capital the code page cannot hold).
    static std::string UpperOneCharacter(const char* pch, int nBytes) {
        wchar_t wide[4];
        int nWide = MultiByteToWideChar(CP_ACP, MB_ERR_INVALID_CHARS, pch, nBytes, wide, 4);
        if (nWide <= 0)
            return {};
        CharUpperBuffW(wide, nWide);
        char back[8];
        BOOL bDefaultUsed = FALSE;
        int nBack = WideCharToMultiByte(CP_ACP, WC_NO_BEST_FIT_CHARS, wide, nWide, back,
                                        sizeof back, nullptr, &bDefaultUsed);
        if (nBack != nBytes || bDefaultUsed)
            return {};
        return std::string(back, nBack);
    }
};

const CodePageTables& Tables() {
    static const CodePageTables tables;
    return tables;
}

// Length in bytes of the character that starts at offset i.
size_t CharLength(const CodePageTables& t, std::string_view text, size_t i) {
    return t.isLead[static_cast<unsigned char>(text[i])] && i + 1 < text.size() ? 2 : 1;
}

} // namespace

void AnsiUpper(std::string& strText) {
    const CodePageTables& t = Tables();
    for (size_t i = 0; i < strText.size();) {
        size_t n = CharLength(t, strText, i);
        if (n == 1) {
            strText[i] = static_cast<char>(t.upper[static_cast<unsigned char>(strText[i])]);
        } else {
            std::string converted = CodePageTables::UpperOneCharacter(&strText[i], 2);
            if (converted.size() == 2)
                strText.replace(i, 2, converted);
        }
        i += n;
    }
}

std::string AnsiUpperCopy(std::string_view text) {
    std::string copy(text);
    AnsiUpper(copy);
    return copy;
}

size_t AnsiFind(std::string_view haystack, std::string_view needle, size_t nFrom) {
    if (needle.empty() || needle.size() > haystack.size())
        return std::string::npos;
    const CodePageTables& t = Tables();
    if (!t.bDoubleByte)
        return haystack.find(needle, nFrom);

    // Walk character by character from the start, since only a walk from a
    // known boundary can tell a lead byte from a trail byte.
    const size_t nLast = haystack.size() - needle.size();
    for (size_t i = 0; i <= nLast; i += CharLength(t, haystack, i)) {
        if (i >= nFrom && std::memcmp(haystack.data() + i, needle.data(), needle.size()) == 0)
            return i;
    }
    return std::string::npos;
}
