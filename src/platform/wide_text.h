#ifndef QUILLON_PLATFORM_WIDE_TEXT_H
#define QUILLON_PLATFORM_WIDE_TEXT_H

#include <string>
#include <string_view>

// Conversions between UTF-16 text (as the registry stores it) and the 8-bit
// text of the system's ANSI code page (as the program shows and writes it).

// Converts wide text to ANSI. Characters that the code page cannot hold
// become '?'. Returns true only when the ANSI text converts back to exactly
// the same wide text, so that no character was lost or replaced by a
// look-alike.
bool WideToAnsi(std::wstring_view wide, std::string& strAnsi);

std::wstring AnsiToWide(std::string_view ansi);

#endif
