#include "export/replace_found_text.h"

#include <gtest/gtest.h>

#include <windows.h>

namespace {

struct ReplaceCase {
    const char* pszWhat;
    std::string strData, strFind, strFindShort, strReplace, strReplaceShort;
    std::string strNewData;
    int nCount;
};

} // namespace

TEST(ReplaceFoundText, ReplacesEveryOccurrenceOfEitherForm) {
    ASSERT_EQ(GetACP(), 1252u) << "the test process must run under code page 1252";
    const ReplaceCase cases[] = {
        {"any case, several times", "c:\\OLD\\bin;C:\\old", "C:\\Old", "", "D:\\New", "",
         "D:\\New\\bin;D:\\New", 2},
        {"text around the occurrence keeps its case", "Path=C:\\OLD\\Tools", "C:\\Old", "",
         "D:\\New", "", "Path=D:\\New\\Tools", 1},
        {"occurrences never overlap", "AAA", "aa", "", "b", "", "bA", 1},
        {"replacement is not searched again", "x", "x", "", "xx", "", "xx", 1},
        {"replacement holding the find text, twice", "x;x", "X", "", "[x]", "", "[x];[x]", 2},
        {"short and long form, each by its own replacement",
         "C:\\PROGRA~1\\App;c:\\program files\\App", "C:\\Program Files", "C:\\PROGRA~1",
         "D:\\Apps", "D:\\APPS~1", "D:\\APPS~1\\App;D:\\Apps\\App", 2},
        {"short form without a short replacement", "c:\\progra~1\\x", "C:\\Program Files",
         "C:\\PROGRA~1", "D:\\Apps", "", "D:\\Apps\\x", 1},
        {"find text already short: the short replacement wins", "C:\\Progra~1\\x", "C:\\PROGRA~1",
         "c:\\progra~1", "D:\\New Folder", "D:\\NEWFOL~1", "D:\\NEWFOL~1\\x", 1},
        {"short form inside the long one starts later", "C:\\Old Files\\x", "C:\\Old Files",
         "Files", "D:\\New", "Docs", "D:\\New\\x", 1},
        {"empty short form is never searched", "abc", "zzz", "", "y", "short", "abc", 0},
        {"neither form", "C:\\Other\\bin", "C:\\Old", "C:\\OLD~1", "D:\\New", "D:\\NEW~1",
         "C:\\Other\\bin", 0},
        {"empty data", "", "C:\\Old", "", "D:\\New", "", "", 0},
        {"accented letters match across case", "C:\\CAF\xc9\\x", "C:\\Caf\xe9", "", "D:\\Th\xe9",
         "", "D:\\Th\xe9\\x", 1},
        {"replacement inserted exactly as given", "C:\\OLD", "c:\\old", "", "e:\\MiXeD \"q\"", "",
         "e:\\MiXeD \"q\"", 1},
        {"replacement may be empty", "C:\\Old\\bin", "C:\\Old", "", "", "", "\\bin", 1},
    };
    for (const ReplaceCase& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        const ReplaceResult result =
            ReplaceFoundText(c.strData, c.strFind, c.strFindShort, c.strReplace, c.strReplaceShort);
        EXPECT_EQ(result.strNewData, c.strNewData);
        EXPECT_EQ(result.nCount, c.nCount);
    }
}
