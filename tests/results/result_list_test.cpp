#include "results/result_list.h"

#include "support/test_windows.h"

#include <gtest/gtest.h>

namespace {

ResultRow MakeRow(const std::string& strKeyPath, const std::string& strData, unsigned nFlags = 0) {
    ResultRow row;
    row.strRootKey = "HKEY_CURRENT_USER";
    row.strKeyPath = strKeyPath;
    row.strValueName = "Path";
    row.strValueData = strData;
    row.nFlags = nFlags;
    return row;
}

} // namespace

TEST(ResultList, AppendedRowsComeBackWholeInOrderAndChecked) {
    CTestWindows windows;
    CResultList list(windows.List());
    const std::string strLong(5000, 'x');
    ASSERT_TRUE(list.AppendRow(MakeRow("\\Software\\A", "C:\\Old")));
    ASSERT_TRUE(list.AppendRow(MakeRow("", strLong, kRowUnnamedValue | kRowDataLost)));

    ASSERT_EQ(list.GetRowCount(), 2);
    EXPECT_EQ(list.GetRowText(0, CResultList::kColRootKey), "HKEY_CURRENT_USER");
    EXPECT_EQ(list.GetRowText(0, CResultList::kColKey), "\\Software\\A");
    EXPECT_EQ(list.GetRowText(0, CResultList::kColName), "Path");
    EXPECT_EQ(list.GetRowText(0, CResultList::kColValue), "C:\\Old");
    EXPECT_EQ(list.GetRowText(1, CResultList::kColKey), "");
    EXPECT_EQ(list.GetRowText(1, CResultList::kColValue), strLong);
    EXPECT_EQ(list.GetRowCheck(0), 1);
    EXPECT_EQ(list.GetRowCheck(1), 1);
    EXPECT_EQ(list.GetRowFlags(0), 0u);
    EXPECT_EQ(list.GetRowFlags(1), kRowUnnamedValue | kRowDataLost);
}

TEST(ResultList, CheckMarksChangeOnlyOnRowsThatExist) {
    CTestWindows windows;
    CResultList list(windows.List());
    list.AppendRow(MakeRow("\\A", "x"));

    list.SetRowCheck(0, 0);
    EXPECT_EQ(list.GetRowCheck(0), 0);
    list.SetRowCheck(0, 1);
    EXPECT_EQ(list.GetRowCheck(0), 1);

    list.SetRowCheck(1, 0);
    list.SetRowCheck(-1, 0);
    EXPECT_EQ(list.GetRowCheck(1), 0);
    EXPECT_EQ(list.GetRowCount(), 1);
    EXPECT_EQ(list.GetRowCheck(0), 1);
}

TEST(ResultList, EmptiedListNumbersNewRowsFromZero) {
    CTestWindows windows;
    CResultList list(windows.List());
    list.AppendRow(MakeRow("\\A", "first"));
    list.AppendRow(MakeRow("\\B", "second"));
    list.DeleteAllRows();
    EXPECT_EQ(list.GetRowCount(), 0);
    list.AppendRow(MakeRow("\\C", "third"));
    ASSERT_EQ(list.GetRowCount(), 1);
    EXPECT_EQ(list.GetRowText(0, CResultList::kColValue), "third");
    EXPECT_EQ(list.GetRowCheck(0), 1);
}
