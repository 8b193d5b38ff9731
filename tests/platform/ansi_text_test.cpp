#include "platform/ansi_text.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(AnsiText, UpperCasesTheLettersOfCodePage1252) {
    ASSERT_EQ(GetACP(), 1252u) << "the test process must run under code page 1252";
    struct Case {
        std::string text, upper;
    } cases[] = {
        {"c:\\program files\\x", "C:\\PROGRAM FILES\\X"},
        {"caf\xe9 \xe0\xe7\xf1", "CAF\xc9 \xc0\xc7\xd1"}, // é à ç ñ
        {"\xff", "\x9f"},                                 // ÿ has its capital at 0x9F
        {"\xdf\xb5", "\xdf\xb5"},                         // ß and µ have no capital here
        {"ALREADY 123 \xc9", "ALREADY 123 \xc9"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(AnsiUpperCopy(c.text), c.upper) << c.text;
}

TEST(AnsiText, FindsBytesAnywhereInASingleByteCodePage) {
    ASSERT_EQ(GetACP(), 1252u);
    EXPECT_EQ(AnsiFind("ab\\cd\\", "\\"), 2u);
    EXPECT_EQ(AnsiFind("ab\\cd\\", "\\", 3), 5u);
    EXPECT_EQ(AnsiFind("abc", "abcd"), std::string::npos);
    EXPECT_EQ(AnsiFind("abc", ""), std::string::npos);
}

// 0x83 0x5C is one katakana character whose trail byte is the backslash;
// 0x82 0x81 is a full-width small a, whose capital is 0x82 0x60.
TEST(AnsiTextDoubleByte, MatchNeverStartsOnATrailByte) {
    ASSERT_EQ(GetACP(), 932u) << "the test process must run under code page 932";
    EXPECT_EQ(AnsiFind("\x83\x5c", "\\"), std::string::npos);
    EXPECT_EQ(AnsiFind("\x83\x5c\\", "\\"), 2u);
    EXPECT_EQ(AnsiFind("a\\\x83\x5c\\", "\\", 2), 4u);
    EXPECT_EQ(AnsiFind("x\x83\x5c", "\x5c"), std::string::npos);
}

TEST(AnsiTextDoubleByte, UpperCasesACharacterWholeAndLeavesTrailBytesAlone) {
    ASSERT_EQ(GetACP(), 932u);
    EXPECT_EQ(AnsiUpperCopy("\x82\x81"), "\x82\x60");
    // 0x61 after a lead byte is not the letter a.
    EXPECT_EQ(AnsiUpperCopy("a\x83\x61z"), "A\x83\x61Z");
}
