#include "platform/wide_text.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(WideText, ConvertsToCodePage1252AndTellsWhetherAnythingWasLost) {
    ASSERT_EQ(GetACP(), 1252u);
    struct Case {
        std::wstring wide;
        std::string ansi;
        bool bExact;
    } cases[] = {
        {L"C:\\Program Files", "C:\\Program Files", true},
        {L"Caf\u00e9 \u20ac", "Caf\xe9 \x80", true},
        {L"T\u0101st", "T?st", false},   // a with macron: no look-alike in its place
        {L"\u03a9mega", "?mega", false}, // a letter the code page lacks
        {L"", "", true},
    };
    for (const Case& c : cases) {
        std::string ansi;
        EXPECT_EQ(WideToAnsi(c.wide, ansi), c.bExact) << c.ansi;
        EXPECT_EQ(ansi, c.ansi);
    }
}
