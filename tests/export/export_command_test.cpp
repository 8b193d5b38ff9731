#include "export/export_fixture.h"

#include "platform/wide_text.h"

#include <functional>

// Tool > Export Changes through the real frame: the save dialogs answered by
// typing a file name, the boxes read and answered, the files read back.

namespace {

using Seen = std::vector<std::string>;

// The lines of a file, each ended with CR LF.
std::string Lines(std::initializer_list<std::string> lines) {
    std::string strText;
    for (const std::string& strLine : lines)
        strText += strLine + "\r\n";
    return strText;
}

const char kHeaderOnly[] = "REGEDIT4\r\n\r\n";

std::string Upper(std::string strText) {
    CharUpperBuffA(strText.data(), static_cast<DWORD>(strText.size()));
    return strText;
}

} // namespace

class ExportCommand : public ExportTest {
protected:
    // The texts that the status bar's two progress panes were given, in order.
    std::vector<std::string> PaneTexts(const CMessageRecorder& recorder) const {
        const int nCount = m_pFrame->m_wndStatusBar.CommandToIndex(ID_INDICATOR_KEYCOUNT);
        const int nPath = m_pFrame->m_wndStatusBar.CommandToIndex(ID_INDICATOR_KEYPATH);
        std::vector<std::string> texts;
        for (const auto& message : recorder.Received()) {
            const int nPane = static_cast<int>(message.wParam & 0xFF);
            if (nPane == nCount || nPane == nPath)
                texts.push_back(message.strText);
        }
        return texts;
    }

    static bool WasMinimised(const CMessageRecorder& frameSizes) {
        for (const auto& message : frameSizes.Received())
            if (message.nMsg == WM_SIZE && message.wParam == SIZE_MINIMIZED)
                return true;
        return false;
    }
};

TEST_F(ExportCommand, TwoRowsGiveTheExactBackupAndChangeFiles) {
    AppendRow("HKEY_LOCAL_MACHINE", "\\SOFTWARE\\Example", "InstallDir", "C:\\Old\\bin \"x\"");
    AppendRow("HKEY_CURRENT_USER", "\\Software\\Example", "(Default)", "c:\\old", 1,
              kRowUnnamedValue);
    SetTexts("C:\\Old", "D:\\New");
    CMessageRecorder frameSizes(Frame(), {WM_SIZE});

    CExportUser user({Backup()}, {Changes()});
    EXPECT_EQ(Export(user), (Seen{kBackupDialog, kChangesDialog, kImportQuestion}));
    EXPECT_EQ(user.Offered(), (Seen{"Backup.reg", "Changes.reg"}));

    EXPECT_EQ(ReadWholeFile(Backup()),
              Lines({"REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Example]",
                     "\"InstallDir\"=\"C:\\\\Old\\\\bin \\\"x\\\"\"", "",
                     "[HKEY_CURRENT_USER\\Software\\Example]", "@=\"c:\\\\old\"", ""}));
    EXPECT_EQ(ReadWholeFile(Changes()),
              Lines({"REGEDIT4", "", "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Example]",
                     "\"InstallDir\"=\"D:\\\\New\\\\bin \\\"x\\\"\"", "",
                     "[HKEY_CURRENT_USER\\Software\\Example]", "@=\"D:\\\\New\"", ""}));
    EXPECT_EQ(m_pFrame->m_bExporting, 0);
    EXPECT_FALSE(WasMinimised(frameSizes));
}

TEST_F(ExportCommand, UncheckedRowsAreLeftOutAndThePanesCountEveryRow) {
    AppendRow("HKEY_CURRENT_USER", "\\Software\\A", "One", "C:\\Old\\1");
    AppendRow("HKEY_CURRENT_USER", "\\Software\\B", "Two", "C:\\Old\\2", 0);
    AppendRow("HKEY_CURRENT_USER", "\\Software\\C", "Three", "c:\\OLD\\3");
    AppendRow("HKEY_CURRENT_USER", "\\Software\\D", "Four", "C:\\Old\\4", 0);
    SetTexts("C:\\Old", "D:\\New");
    CMessageRecorder panes(StatusBar(), {SB_SETTEXTA});

    EXPECT_EQ(Export(), (Seen{kBackupDialog, kChangesDialog, kImportQuestion}));

    // The counter shows the row's place in the list, unchecked rows counted.
    EXPECT_EQ(PaneTexts(panes), (Seen{"0 Keys Proceeded.", "HKEY_CURRENT_USER\\Software\\A",
                                      "2 Keys Proceeded.", "HKEY_CURRENT_USER\\Software\\C"}));
    EXPECT_EQ(
        ReadWholeFile(Backup()),
        Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\A]", "\"One\"=\"C:\\\\Old\\\\1\"", "",
               "[HKEY_CURRENT_USER\\Software\\C]", "\"Three\"=\"c:\\\\OLD\\\\3\"", ""}));
    EXPECT_EQ(
        ReadWholeFile(Changes()),
        Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\A]", "\"One\"=\"D:\\\\New\\\\1\"", "",
               "[HKEY_CURRENT_USER\\Software\\C]", "\"Three\"=\"D:\\\\New\\\\3\"", ""}));
}

TEST_F(ExportCommand, NoCheckedRowGivesTheHeaderAloneAndStillAsks) {
    AppendRow("HKEY_CURRENT_USER", "\\Software\\A", "One", "C:\\Old\\1", 0);
    AppendRow("HKEY_CURRENT_USER", "\\Software\\B", "Two", "C:\\Old\\2", 0);
    SetTexts("C:\\Old", "D:\\New");
    CMessageRecorder panes(StatusBar(), {SB_SETTEXTA});

    EXPECT_EQ(Export(), (Seen{kBackupDialog, kChangesDialog, kImportQuestion}));
    EXPECT_EQ(ReadWholeFile(Backup()), kHeaderOnly);
    EXPECT_EQ(ReadWholeFile(Changes()), kHeaderOnly);
    EXPECT_TRUE(PaneTexts(panes).empty());
}

TEST_F(ExportCommand, CancelledDialogIsShownAgain) {
    AppendRow("HKEY_CURRENT_USER", "\\Software\\A", "One", "C:\\Old\\1");
    SetTexts("C:\\Old", "D:\\New");

    CExportUser user({CExportUser::kCancel, CExportUser::kCancel, Backup()},
                     {CExportUser::kCancel, Changes()});
    EXPECT_EQ(Export(user),
              (Seen{kBackupDialog, kChooseAgain, kBackupDialog, kChooseAgain, kBackupDialog,
                    kChangesDialog, kChooseAgain, kChangesDialog, kImportQuestion}));
    EXPECT_EQ(user.Offered()[0], "Backup.reg");
    EXPECT_EQ(user.Offered()[1], "Backup.reg");
    EXPECT_EQ(ReadWholeFile(Changes()), Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\A]",
                                               "\"One\"=\"D:\\\\New\\\\1\"", ""}));
}

TEST_F(ExportCommand, ChangeFileThatIsTheBackupFileIsRefused) {
    AppendRow("HKEY_CURRENT_USER", "\\Software\\A", "One", "C:\\Old\\1");
    SetTexts("C:\\Old", "D:\\New");
    // The same file three ways: as chosen, in other letter case, and through
    // the short form of its folder.
    char szShortFolder[MAX_PATH + 1] = "";
    ASSERT_NE(GetShortPathNameA(m_folder.Path().c_str(), szShortFolder, MAX_PATH), 0u);
    const std::string strThroughShortForm = std::string(szShortFolder) + "\\Backup.reg";
    ASSERT_NE(Upper(strThroughShortForm), Upper(Backup()));

    CExportUser user({Backup()}, {Backup(), Upper(Backup()), strThroughShortForm, Changes()});
    // The backup file exists by then, so the dialog asks whether to replace
    // it before the export refuses it.
    EXPECT_EQ(Export(user), (Seen{kBackupDialog, kChangesDialog, kDialogQuestion, kChooseAgain,
                                  kChangesDialog, kDialogQuestion, kChooseAgain, kChangesDialog,
                                  kDialogQuestion, kChooseAgain, kChangesDialog, kImportQuestion}));
    EXPECT_EQ(ReadWholeFile(Backup()), Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\A]",
                                              "\"One\"=\"C:\\\\Old\\\\1\"", ""}));
    EXPECT_EQ(ReadWholeFile(Changes()), Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\A]",
                                               "\"One\"=\"D:\\\\New\\\\1\"", ""}));
}

TEST_F(ExportCommand, ValuesThatCannotBeWrittenExactlyAreLeftOutAndListedOnce) {
    using namespace std::string_literals;
    ASSERT_EQ(GetACP(), 1252u) << "the test process must run under code page 1252";
    m_key.SetString(L"", L"A plain", L"C:\\Old\\a");
    m_key.SetString(L"", L"B name \u0100", L"C:\\Old\\b");
    m_key.SetString(L"", L"C data", L"C:\\Old \u4e2d");
    m_key.SetString(L"", L"D after NUL", L"C:\\Old\0tail"s);
    m_key.SetString(L"", L"E line\nbreak", L"C:\\Old\\e");
    m_key.SetString(L"K \u0101", L"F", L"C:\\Old\\f");
    m_key.SetString(L"L line\r\nbreak", L"G", L"C:\\Old\\g");
    Search("C:\\Old", "D:\\New");
    ASSERT_EQ(Rows().size(), 7u);

    // Each listed as the list shows it: what the code page cannot hold is '?'.
    auto Listed = [this](const std::wstring& subKey, const std::wstring& name) {
        std::string strSubKey, strName;
        WideToAnsi(subKey, strSubKey);
        WideToAnsi(name, strName);
        return "HKEY_CURRENT_USER" + m_key.KeyPath() + strSubKey + "\\" + strName + " : ";
    };
    const std::string strMessage =
        "These Values Were Left Out Of Both Files, Since a Registry File Cannot Hold Them "
        "Exactly :\r\n\r\n" +
        Listed(L"", L"B name \u0100") +
        "its name holds characters that the ANSI code page cannot hold.\r\n" +
        Listed(L"", L"C data") +
        "its data holds characters that the ANSI code page cannot hold.\r\n" +
        Listed(L"", L"D after NUL") + "its data goes on after a NUL character.\r\n" +
        Listed(L"", L"E line\nbreak") + "its name holds a line break.\r\n" +
        Listed(L"\\K \u0101", L"F") +
        "its key name holds characters that the ANSI code page cannot hold.\r\n" +
        Listed(L"\\L line\r\nbreak", L"G") + "its key name holds a line break.\r\n";

    // The list comes once both files are complete and closed: nothing else
    // holds them open any more.
    std::string strBackupAtMessage;
    bool bClosedAtMessage = false;
    CExportUser user({Backup()}, {Changes()});
    user.m_onMessage = [&](const CBoxAnswerer::Box&) {
        strBackupAtMessage = ReadWholeFile(Backup());
        HANDLE hFile = CreateFileA(Changes().c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                                   FILE_ATTRIBUTE_NORMAL, nullptr);
        bClosedAtMessage = hFile != INVALID_HANDLE_VALUE;
        if (bClosedAtMessage)
            CloseHandle(hFile);
    };
    EXPECT_EQ(Export(user), (Seen{kBackupDialog, kChangesDialog, strMessage, kImportQuestion}));

    const std::string strKeyLine = "[HKEY_CURRENT_USER" + m_key.KeyPath() + "]";
    EXPECT_EQ(ReadWholeFile(Backup()),
              Lines({"REGEDIT4", "", strKeyLine, "\"A plain\"=\"C:\\\\Old\\\\a\"", ""}));
    EXPECT_EQ(ReadWholeFile(Changes()),
              Lines({"REGEDIT4", "", strKeyLine, "\"A plain\"=\"D:\\\\New\\\\a\"", ""}));
    EXPECT_EQ(strBackupAtMessage, ReadWholeFile(Backup()));
    EXPECT_TRUE(bClosedAtMessage);
}

TEST_F(ExportCommand, LongListOfLeftOutValuesNamesTwentyAndCountsTheRest) {
    for (int i = 0; i < 23; ++i)
        AppendRow("HKEY_CURRENT_USER", "\\Software\\K" + std::to_string(i), "V", "C:\\Old ?", 1,
                  kRowDataLost);
    SetTexts("C:\\Old", "D:\\New");
    std::string strMessage = "These Values Were Left Out Of Both Files, Since a Registry File "
                             "Cannot Hold Them Exactly :\r\n\r\n";
    for (int i = 0; i < 20; ++i)
        strMessage += "HKEY_CURRENT_USER\\Software\\K" + std::to_string(i) +
                      "\\V : its data holds characters that the ANSI code page cannot hold.\r\n";
    strMessage += "... and 3 more.\r\n";

    EXPECT_EQ(Export(), (Seen{kBackupDialog, kChangesDialog, strMessage, kImportQuestion}));
    EXPECT_EQ(ReadWholeFile(Backup()), kHeaderOnly);
    EXPECT_EQ(ReadWholeFile(Changes()), kHeaderOnly);
}

TEST_F(ExportCommand, RowsWithoutTheFindTextOrARootKeyGetKeyLinesAloneOrNothing) {
    // Rows that a search with the present texts could not give.
    AppendRow("HKEY_CURRENT_USER", "\\Software\\Moved", "Gone", "E:\\Elsewhere");
    AppendRow("HKEY_NOWHERE", "\\Software\\X", "NoRoot", "C:\\Old\\x");
    AppendRow("HKEY_CURRENT_USER", "\\Software\\Y", "Empty", "");
    AppendRow("hkey_current_user", "\\Software\\Small", "Root", "C:\\Old\\y");
    AppendRow("HKEY_CURRENT_USER", "", "AtTheRoot", "C:\\Old\\z");
    SetTexts("C:\\Old", "D:\\New");
    CMessageRecorder panes(StatusBar(), {SB_SETTEXTA});

    EXPECT_EQ(Export(), (Seen{kBackupDialog, kChangesDialog, kImportQuestion}));
    EXPECT_EQ(ReadWholeFile(Backup()),
              Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\Moved]",
                     "[HKEY_CURRENT_USER\\Software\\Small]", "\"Root\"=\"C:\\\\Old\\\\y\"", "",
                     "[HKEY_CURRENT_USER]", "\"AtTheRoot\"=\"C:\\\\Old\\\\z\"", ""}));
    EXPECT_EQ(ReadWholeFile(Changes()),
              Lines({"REGEDIT4", "", "[HKEY_CURRENT_USER\\Software\\Moved]",
                     "[HKEY_CURRENT_USER\\Software\\Small]", "\"Root\"=\"D:\\\\New\\\\y\"", "",
                     "[HKEY_CURRENT_USER]", "\"AtTheRoot\"=\"D:\\\\New\\\\z\"", ""}));
    EXPECT_EQ(PaneTexts(panes), (Seen{"0 Keys Proceeded.", "HKEY_CURRENT_USER\\Software\\Moved",
                                      "3 Keys Proceeded.", "HKEY_CURRENT_USER\\Software\\Small",
                                      "4 Keys Proceeded.", "HKEY_CURRENT_USER"}));
}

TEST_F(ExportCommand, AnsweringNoLeavesBothFilesAndTheRegistryAsTheyAre) {
    m_key.SetString(L"", L"InstallDir", L"C:\\Old\\bin");
    m_key.SetString(L"Sub", L"", L"c:\\old");
    Search("C:\\Old", "D:\\New");
    ASSERT_EQ(Rows().size(), 2u);
    CMessageRecorder frameSizes(Frame(), {WM_SIZE});

    EXPECT_EQ(Export(IDNO), (Seen{kBackupDialog, kChangesDialog, kImportQuestion}));

    const std::string strKey = "[HKEY_CURRENT_USER" + m_key.KeyPath();
    EXPECT_EQ(ReadWholeFile(Changes()),
              Lines({"REGEDIT4", "", strKey + "]", "\"InstallDir\"=\"D:\\\\New\\\\bin\"", "",
                     strKey + "\\Sub]", "@=\"D:\\\\New\"", ""}));
    EXPECT_EQ(ReadWholeFile(Backup()),
              Lines({"REGEDIT4", "", strKey + "]", "\"InstallDir\"=\"C:\\\\Old\\\\bin\"", "",
                     strKey + "\\Sub]", "@=\"c:\\\\old\"", ""}));
    wchar_t data[64] = L"";
    DWORD cbData = sizeof data;
    ASSERT_EQ(
        RegGetValueW(m_key.Handle(), nullptr, L"InstallDir", RRF_RT_REG_SZ, nullptr, data, &cbData),
        ERROR_SUCCESS);
    EXPECT_STREQ(data, L"C:\\Old\\bin");
    cbData = sizeof data;
    ASSERT_EQ(RegGetValueW(m_key.Handle(), L"Sub", nullptr, RRF_RT_REG_SZ, nullptr, data, &cbData),
              ERROR_SUCCESS);
    EXPECT_STREQ(data, L"c:\\old");
    EXPECT_FALSE(WasMinimised(frameSizes));
}

TEST_F(ExportCommand, FileThatCannotBeCreatedIsReportedAndNothingIsImported) {
    AppendRow("HKEY_CURRENT_USER", "\\Software\\A", "One", "C:\\Old\\1");
    SetTexts("C:\\Old", "D:\\New");
    const std::string strNowhere = m_folder.File("No Such Folder\\Backup.reg");

    {
        SCOPED_TRACE("the backup file");
        CExportUser user({strNowhere}, {Changes()});
        EXPECT_EQ(Export(user), (Seen{kBackupDialog, CannotWrite(strNowhere)}));
        EXPECT_EQ(m_pFrame->m_bExporting, 0);
        EXPECT_TRUE(m_folder.FileNames().empty());
    }
    {
        SCOPED_TRACE("the change file");
        CExportUser user({Backup()}, {strNowhere});
        EXPECT_EQ(Export(user), (Seen{kBackupDialog, kChangesDialog, CannotWrite(strNowhere)}));
        EXPECT_EQ(m_pFrame->m_bExporting, 0);
        EXPECT_EQ(m_folder.FileNames(), (Seen{"Backup.reg"}));
    }
}

TEST_F(ExportCommand, DoesNothingAndShowsNothingWhenItCannotRun) {
    struct GuardCase {
        const char* pszWhat;
        std::function<void()> makeIt;
    };
    const GuardCase cases[] = {
        {"empty list", [this] { CResultList(View()).DeleteAllRows(); }},
        {"empty find text", [this] { m_pFrame->m_strFind.clear(); }},
        {"empty replace text", [this] { m_pFrame->m_strReplace.clear(); }},
        {"a search running", [this] { m_pFrame->m_bSearching = 1; }},
        {"a search worker still ending",
         [this] { m_pFrame->m_hSearchThread = GetCurrentThread(); }},
        {"an export running", [this] { m_pFrame->m_bExporting = 1; }},
    };
    for (const GuardCase& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        CResultList(View()).DeleteAllRows();
        AppendRow("HKEY_CURRENT_USER", "\\Software\\A", "One", "C:\\Old\\1");
        SetTexts("C:\\Old", "D:\\New");
        c.makeIt();
        const LONG nExporting = m_pFrame->m_bExporting;

        EXPECT_EQ(Export(), Seen{});
        EXPECT_TRUE(m_folder.FileNames().empty());
        EXPECT_EQ(m_pFrame->m_bExporting, nExporting);

        m_pFrame->m_bSearching = 0;
        m_pFrame->m_hSearchThread = nullptr;
        m_pFrame->m_bExporting = 0;
    }
}

TEST_F(ExportCommand, SecondExportCommandDuringAnExportDoesNothing) {
    AppendRow("HKEY_CURRENT_USER", "\\Software\\A", "One", "C:\\Old\\1");
    SetTexts("C:\\Old", "D:\\New");
    CExportUser user({Backup()}, {Changes()});
    // The command arrives while the first dialog is open; the dialog's own
    // message loop hands it to the frame before the dialog is answered.
    user.m_onSaveDialog = [this](const CBoxAnswerer::Box&) {
        PostMessageA(Frame(), WM_COMMAND, MAKEWPARAM(ID_TOOL_EXPORTCHANGES, 0), 0);
    };

    EXPECT_EQ(Export(user), (Seen{kBackupDialog, kChangesDialog, kImportQuestion}));
    EXPECT_EQ(m_pFrame->m_bExporting, 0);
}
