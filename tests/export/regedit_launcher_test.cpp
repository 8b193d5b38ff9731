#include "export/export_fixture.h"

#include "export/regedit_launcher.h"

// The start of the system's registry editor on the change file: which
// editor, how it is started when Windows asks for elevation, what a refused
// start shows, and that an editor planted beside the program or in the
// current folder is never run.

namespace {

bool Exists(const std::string& strPath) {
    return GetFileAttributesA(strPath.c_str()) != INVALID_FILE_ATTRIBUTES;
}

std::string InFolder(UINT (*pfnGetFolder)(char*, UINT), const char* pszName) {
    char szFolder[MAX_PATH + 1] = "";
    pfnGetFolder(szFolder, MAX_PATH);
    return std::string(szFolder) + "\\" + pszName;
}

UINT SystemFolder(char* pszBuffer, UINT nSize) {
    return GetSystemDirectoryA(pszBuffer, nSize);
}

UINT WindowsFolder(char* pszBuffer, UINT nSize) {
    return GetSystemWindowsDirectoryA(pszBuffer, nSize);
}

std::string ProgramFolder() {
    char szPath[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    std::string strPath = szPath;
    return strPath.substr(0, strPath.find_last_of('\\'));
}

// Windows' answers to a start that needs elevation, and to a refused consent.
constexpr DWORD kElevationRequired = 740;
constexpr DWORD kCancelled = 1223;

// What the injected process services were asked to do.
struct StartRecord {
    int nCreateCalls = 0;
    std::string strApplication;
    std::string strCommandLine;
    int nShellCalls = 0;
    std::string strShellVerb;
    std::string strShellFile;
    std::string strShellParameters;
    ULONG nShellMask = 0;
    HWND hShellOwner = nullptr;
    HANDLE hStartedProcess = nullptr; // a handle of our own to the process started
};

// A CreateProcess that fails with the error given, and keeps what it was asked.
std::function<BOOL(const char*, char*, PROCESS_INFORMATION*)> FailingCreate(StartRecord& record,
                                                                            DWORD nError) {
    return
        [&record, nError](const char* pszApplication, char* pszCommandLine, PROCESS_INFORMATION*) {
            ++record.nCreateCalls;
            record.strApplication = pszApplication ? pszApplication : "";
            record.strCommandLine = pszCommandLine ? pszCommandLine : "";
            SetLastError(nError);
            return FALSE;
        };
}

void RecordShell(StartRecord& record, const SHELLEXECUTEINFOA* pInfo) {
    ++record.nShellCalls;
    record.strShellVerb = pInfo->lpVerb ? pInfo->lpVerb : "";
    record.strShellFile = pInfo->lpFile ? pInfo->lpFile : "";
    record.strShellParameters = pInfo->lpParameters ? pInfo->lpParameters : "";
    record.nShellMask = pInfo->fMask;
    record.hShellOwner = pInfo->hwnd;
}

bool WasMinimised(const CMessageRecorder& frameSizes) {
    for (const auto& message : frameSizes.Received())
        if (message.nMsg == WM_SIZE && message.wParam == SIZE_MINIMIZED)
            return true;
    return false;
}

// A folder of its own in the temporary folder, removed with its files.
class CPlantFolder {
public:
    explicit CPlantFolder(const std::string& strName) {
        char szTemp[MAX_PATH + 1] = "";
        GetTempPathA(MAX_PATH, szTemp);
        m_strPath = std::string(szTemp) + strName + " " + std::to_string(GetCurrentProcessId());
        CreateDirectoryA(m_strPath.c_str(), nullptr);
    }
    ~CPlantFolder() {
        for (const std::string& strFile : m_files)
            DeleteFileA(File(strFile).c_str());
        RemoveDirectoryA(m_strPath.c_str());
    }
    CPlantFolder(const CPlantFolder&) = delete;
    CPlantFolder& operator=(const CPlantFolder&) = delete;

    std::string File(const std::string& strName) const { return m_strPath + "\\" + strName; }
    const std::string& Path() const { return m_strPath; }
    // Notes a file to remove at the end.
    std::string Keep(const std::string& strName) {
        m_files.push_back(strName);
        return File(strName);
    }

private:
    std::string m_strPath;
    std::vector<std::string> m_files;
};

} // namespace

class RegeditLauncher : public ExportTest {
protected:
    void SetUp() override {
        ExportTest::SetUp();
        m_key.SetString(L"", L"Path", L"C:\\Old\\bin");
    }

    // A change file as the export writes it, for the test key's value.
    void WriteChangeFile() {
        std::ofstream file(Changes(), std::ios::binary);
        file << "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER" << m_key.KeyPath()
             << "]\r\n\"Path\"=\"D:\\\\New\\\\bin\"\r\n\r\n";
    }

    std::wstring PathValue() const {
        wchar_t data[64] = L"";
        DWORD cbData = sizeof data;
        if (RegGetValueW(m_key.Handle(), nullptr, L"Path", RRF_RT_REG_SZ, nullptr, data, &cbData) !=
            ERROR_SUCCESS)
            return L"<unreadable>";
        return data;
    }
};

TEST_F(RegeditLauncher, TakesTheEditorOfTheSystemFolderFirst) {
    const std::string strSystem = InFolder(SystemFolder, "regedit.exe");
    const std::string strWindows = InFolder(WindowsFolder, "regedit.exe");
    EXPECT_EQ(FindRegistryEditor(), Exists(strSystem) ? strSystem : strWindows);
    ASSERT_TRUE(Exists(strWindows) || Exists(strSystem)) << "no registry editor to test with";

    // Wine keeps its editor in the Windows folder alone: one put into the
    // system folder comes first.
    if (!Exists(strSystem)) {
        ASSERT_TRUE(CopyFileA(strWindows.c_str(), strSystem.c_str(), TRUE)) << GetLastError();
        const std::string strFound = FindRegistryEditor();
        DeleteFileA(strSystem.c_str());
        EXPECT_EQ(strFound, strSystem);
    }
}

TEST_F(RegeditLauncher, ElevationRequiredStartsTheEditorThroughTheShellAndWaitsForIt) {
    WriteChangeFile();
    StartRecord record;
    ProcessStartOps ops;
    ops.CreateProcess = FailingCreate(record, kElevationRequired);
    // The shell really starts the editor: Windows would ask for consent first.
    ops.ShellExecuteEx = [&record](SHELLEXECUTEINFOA* pInfo) {
        RecordShell(record, pInfo);
        const BOOL bStarted = ShellExecuteExA(pInfo);
        if (bStarted && pInfo->hProcess)
            DuplicateHandle(GetCurrentProcess(), pInfo->hProcess, GetCurrentProcess(),
                            &record.hStartedProcess, SYNCHRONIZE, FALSE, 0);
        return bStarted;
    };
    CMessageRecorder frameSizes(Frame(), {WM_SIZE});

    EXPECT_TRUE(RunRegistryEditor(Frame(), Changes(), ops));

    const std::string strEditor = FindRegistryEditor();
    EXPECT_EQ(record.nCreateCalls, 1);
    EXPECT_EQ(record.strApplication, strEditor);
    EXPECT_EQ(record.strCommandLine, "REGEDIT.EXE \"" + Changes() + "\"");
    EXPECT_EQ(record.nShellCalls, 1);
    EXPECT_EQ(record.strShellVerb, "open");
    EXPECT_EQ(record.strShellFile, strEditor);
    EXPECT_EQ(record.strShellParameters, "\"" + Changes() + "\"");
    EXPECT_TRUE(record.nShellMask & SEE_MASK_NOCLOSEPROCESS);
    EXPECT_EQ(record.hShellOwner, Frame());
    // The editor had ended, and imported the file, before the call returned.
    ASSERT_NE(record.hStartedProcess, nullptr);
    EXPECT_EQ(WaitForSingleObject(record.hStartedProcess, 0), WAIT_OBJECT_0);
    CloseHandle(record.hStartedProcess);
    EXPECT_EQ(PathValue(), L"D:\\New\\bin");
    EXPECT_TRUE(WasMinimised(frameSizes));
    EXPECT_FALSE(IsIconic(Frame()));
}

TEST_F(RegeditLauncher, StartThatFailsReturnsFalseAndLeavesTheFrameAsItWas) {
    WriteChangeFile();
    struct FailCase {
        const char* pszWhat;
        DWORD nCreateError;
        int nShellCalls;
    };
    const FailCase cases[] = {
        {"consent refused", kElevationRequired, 1},
        {"start failed for another reason", ERROR_FILE_NOT_FOUND, 0},
    };
    for (const FailCase& c : cases) {
        SCOPED_TRACE(c.pszWhat);
        StartRecord record;
        ProcessStartOps ops;
        ops.CreateProcess = FailingCreate(record, c.nCreateError);
        ops.ShellExecuteEx = [&record](SHELLEXECUTEINFOA* pInfo) {
            RecordShell(record, pInfo);
            SetLastError(kCancelled);
            return FALSE;
        };
        CMessageRecorder frameSizes(Frame(), {WM_SIZE});

        EXPECT_FALSE(RunRegistryEditor(Frame(), Changes(), ops));
        EXPECT_EQ(record.nCreateCalls, 1);
        EXPECT_EQ(record.nShellCalls, c.nShellCalls);
        EXPECT_FALSE(WasMinimised(frameSizes));
        EXPECT_EQ(PathValue(), L"C:\\Old\\bin");
    }
}

TEST_F(RegeditLauncher, YesImportsTheChangeFileWithTheSystemEditor) {
    Search("C:\\Old", "D:\\New");
    CMessageRecorder frameSizes(Frame(), {WM_SIZE});

    EXPECT_EQ(Export(IDYES),
              (std::vector<std::string>{kBackupDialog, kChangesDialog, kImportQuestion}));
    // Under Wine the editor imports a file named on its command line without
    // asking; the program has waited for it.
    EXPECT_EQ(PathValue(), L"D:\\New\\bin");
    EXPECT_TRUE(WasMinimised(frameSizes));
    EXPECT_FALSE(IsIconic(Frame()));
    EXPECT_EQ(m_pFrame->m_bExporting, 0);
}

TEST_F(RegeditLauncher, EditorThatCannotStartIsReportedAfterYes) {
    // The editor's file held open by no one else allowed: the system cannot
    // read it to start it.
    const std::string strEditor = FindRegistryEditor();
    HANDLE hLock = CreateFileA(strEditor.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hLock, INVALID_HANDLE_VALUE) << GetLastError();
    Search("C:\\Old", "D:\\New");
    CMessageRecorder frameSizes(Frame(), {WM_SIZE});

    const std::vector<std::string> seen = Export(IDYES);
    CloseHandle(hLock);
    EXPECT_EQ(seen, (std::vector<std::string>{kBackupDialog, kChangesDialog, kImportQuestion,
                                              kCannotRunEditor}));
    EXPECT_EQ(PathValue(), L"C:\\Old\\bin");
    EXPECT_FALSE(WasMinimised(frameSizes));
    EXPECT_EQ(m_folder.FileNames(), (std::vector<std::string>{"Backup.reg", "Changes.reg"}));
}

// A copy of this test program, with a stand-in editor beside it, runs the
// import test from a current folder that holds another stand-in.
TEST_F(RegeditLauncher, EditorsPlantedBesideTheProgramOrInTheCurrentFolderAreNeverRun) {
    const std::string strFake = ProgramFolder() + "\\fake_regedit.exe";
    ASSERT_TRUE(Exists(strFake)) << strFake;
    char szSelf[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, szSelf, MAX_PATH);

    CPlantFolder program("Quillon Planted Program");
    CPlantFolder current("Quillon Planted Current");
    const std::string strCopy = program.Keep("quillon_tests.exe");
    ASSERT_TRUE(CopyFileA(szSelf, strCopy.c_str(), FALSE)) << GetLastError();
    for (CPlantFolder* pFolder : {&program, &current}) {
        ASSERT_TRUE(CopyFileA(strFake.c_str(), pFolder->Keep("REGEDIT.EXE").c_str(), FALSE));
        pFolder->Keep("REGEDIT.EXE.ran");
    }
    const std::string strOutput = current.Keep("output.txt");

    SECURITY_ATTRIBUTES inherit{sizeof inherit, nullptr, TRUE};
    HANDLE hOutput = CreateFileA(strOutput.c_str(), GENERIC_WRITE, FILE_SHARE_READ, &inherit,
                                 CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(hOutput, INVALID_HANDLE_VALUE);
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdOutput = startup.hStdError = hOutput;
    std::string strCommand = "\"" + strCopy +
                             "\" --gtest_filter=RegeditLauncher."
                             "YesImportsTheChangeFileWithTheSystemEditor";
    PROCESS_INFORMATION child{};
    const BOOL bStarted = CreateProcessA(strCopy.c_str(), strCommand.data(), nullptr, nullptr, TRUE,
                                         0, nullptr, current.Path().c_str(), &startup, &child);
    CloseHandle(hOutput);
    ASSERT_TRUE(bStarted) << GetLastError();
    // A generous bound, only so that a stuck child fails the test.
    const DWORD nWait = WaitForSingleObject(child.hProcess, 120000);
    DWORD nExitCode = 1;
    GetExitCodeProcess(child.hProcess, &nExitCode);
    CloseHandle(child.hThread);
    CloseHandle(child.hProcess);

    ASSERT_EQ(nWait, WAIT_OBJECT_0);
    EXPECT_EQ(nExitCode, 0u) << ReadWholeFile(strOutput);
    EXPECT_NE(ReadWholeFile(strOutput).find("[  PASSED  ] 1 test"), std::string::npos)
        << ReadWholeFile(strOutput);
    EXPECT_FALSE(Exists(program.File("REGEDIT.EXE.ran")))
        << "beside the program: " << ReadWholeFile(program.File("REGEDIT.EXE.ran"));
    EXPECT_FALSE(Exists(current.File("REGEDIT.EXE.ran")))
        << "in the current folder: " << ReadWholeFile(current.File("REGEDIT.EXE.ran"));
}
