#ifndef QUILLON_PLATFORM_ANSI_TEXT_H
#define QUILLON_PLATFORM_ANSI_TEXT_H

#include <string>
#include <string_view>

// Upper-casing and substring search of 8-bit text under the system's ANSI
// code page. In a double-byte code page a lead byte and its trail byte form
// one character: they are upper-cased together, and a match only ever starts
// on the first byte of a character.

// Upper-cases the text in place. The length in bytes never changes, so an
// offset in the upper-cased copy is the same offset in the original.
void AnsiUpper(std::string& strText);
std::string AnsiUpperCopy(std::string_view text);

// Offset of the first occurrence of needle in haystack that starts at or
// after nFrom on a character boundary, or std::string::npos. An empty needle
// is found nowhere: the callers never look for nothing.
size_t AnsiFind(std::string_view haystack, std::string_view needle, size_t nFrom = 0);

inline bool AnsiContains(std::string_view haystack, std::string_view needle) {
    return AnsiFind(haystack, needle) != std::string::npos;
}

#endif
