#include "app/main_frame.h"

#include "support/temp_folder.h"

#include <gtest/gtest.h>

#include <windows.h>

TEST(ShortPath, ExistingFolderWithALongNameGetsItsShortForm) {
    CTempFolder folder;
    std::string strShort = "left over";
    CMainFrame::GetShortPath(folder.Path(), strShort);
    ASSERT_FALSE(strShort.empty());
    EXPECT_NE(strShort, folder.Path());
    EXPECT_EQ(strShort.find(' '), std::string::npos) << strShort;
    DWORD nAttributes = GetFileAttributesA(strShort.c_str());
    ASSERT_NE(nAttributes, INVALID_FILE_ATTRIBUTES);
    EXPECT_TRUE(nAttributes & FILE_ATTRIBUTE_DIRECTORY);
}

TEST(ShortPath, PathThatNamesNothingGivesAnEmptyForm) {
    std::string strShort = "left over";
    CMainFrame::GetShortPath("C:\\No Such Folder Anywhere\\x", strShort);
    EXPECT_EQ(strShort, "");
}

TEST(ShortPath, EmptyPathLeavesThePreviousForm) {
    std::string strShort = "C:\\PREVIO~1";
    CMainFrame::GetShortPath("", strShort);
    EXPECT_EQ(strShort, "C:\\PREVIO~1");
}

TEST(ShortPath, RelativeNameIsLookedUpInTheCurrentFolder) {
    CTempFolder folder;
    char szOld[MAX_PATH + 1] = "";
    GetCurrentDirectoryA(MAX_PATH, szOld);
    SetCurrentDirectoryA(folder.Parent().c_str());
    std::string strShort;
    CMainFrame::GetShortPath(folder.Name(), strShort);
    SetCurrentDirectoryA(szOld);

    ASSERT_FALSE(strShort.empty());
    EXPECT_NE(strShort, folder.Name());
    EXPECT_EQ(strShort.find('\\'), std::string::npos) << "a relative name stays relative";
}
