// The demo that `make run` runs where there is no display (scripts/demo.sh):
// drives Quillon.exe of this build tree through one whole search and export,
// as a user would, from outside: its menu keys, its dialogs and its boxes,
// whose texts it reads and prints as it goes.
//
// Usage: drive_demo.exe FOLDER SCREENSHOT_REQUEST
//   FOLDER              where Backup.reg and Changes.reg are saved
//   SCREENSHOT_REQUEST  a file that is created once the window shows the
//                       search's rows; the demo goes on once whoever takes
//                       the screenshot has deleted it
// Everything it says goes to the standard output; Wine's own messages, of
// this program and of Quillon, go to the standard error. Exits 0 when every
// step worked, 1 with the reason otherwise. It never hangs: every wait has a
// time limit, and so has the whole demo.
#include "support/box_answerer.h"
#include "support/remote_quillon.h"

#include <tlhelp32.h>

#include <atomic>
#include <cstdio>
#include <functional>
#include <mutex>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

namespace {

using Box = CBoxAnswerer::Box;

const char kFind[] = "C:\\Program Files\\Common Files";
const char kReplace[] = "D:\\Common Files";
const char kAppCaption[] = "Quillon";
const char kSearchOptions[] = "Search Options";
const char kSearchEnded[] = "Search Through the Registry is Terminated.";
const char kBackupTitle[] =
    "Please Select a Location For The File That Will Contain Registry Backup.";
const char kChangesTitle[] =
    "Please Select a Location For The File That Will Contain Registry Changes.";
const char kLeftOut[] = "These Values Were Left Out";
const char kImportQuestion[] = "Do You Want to Import the Modified Values in the Registry, Now ?";
constexpr int kFindWhatId = 1003;
constexpr int kReplaceWithId = 1004;
// The static control that holds a message box's text.
constexpr int kMessageBoxTextId = 0xFFFF;

// A whole-registry search and a run of the registry editor under Wine take
// seconds; the waits are generous, and the whole demo has a limit.
constexpr DWORD kShortWait = 15000;
constexpr DWORD kLongWait = 120000;
constexpr DWORD kWholeDemo = 240000;

std::mutex g_mutex;
std::string g_strStep;              // what the demo is doing
std::atomic<DWORD> g_nQuillonId{0}; // the program's process, once started

void Say(const std::string& strText) {
    std::printf("%s\n", strText.c_str());
    std::fflush(stdout);
}

// A box's text on one line.
std::string OneLine(std::string strText) {
    for (char& ch : strText)
        if (ch == '\r' || ch == '\n')
            ch = ' ';
    return strText;
}

void Step(const std::string& strStep) {
    {
        std::lock_guard<std::mutex> lock(g_mutex);
        g_strStep = strStep;
    }
    Say("* " + strStep);
}

[[noreturn]] void Fail(const std::string& strWhy) {
    throw std::runtime_error(strWhy);
}

std::string Seconds(DWORD nMilliseconds) {
    char szText[32];
    std::snprintf(szText, sizeof szText, "%.1f s", nMilliseconds / 1000.0);
    return szText;
}

struct WindowSearch {
    const char* pszClass;
    DWORD nProcessId; // 0: any process
    std::vector<HWND> found;
};

BOOL CALLBACK CollectWindow(HWND hWnd, LPARAM lParam) {
    auto* pSearch = reinterpret_cast<WindowSearch*>(lParam);
    DWORD nOwner = 0;
    GetWindowThreadProcessId(hWnd, &nOwner);
    char szClass[16] = "";
    GetClassNameA(hWnd, szClass, sizeof szClass);
    if ((pSearch->nProcessId == 0 || nOwner == pSearch->nProcessId) && IsWindowVisible(hWnd) &&
        std::string(szClass) == pSearch->pszClass)
        pSearch->found.push_back(hWnd);
    return TRUE;
}

// The visible top-level windows of a class, of one process or of every
// process (0).
std::vector<HWND> VisibleWindows(const char* pszClass, DWORD nProcessId) {
    WindowSearch search{pszClass, nProcessId, {}};
    EnumWindows(CollectWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

// The visible dialogs and message boxes of a process (or of all, 0), with
// their captions and a message box's text.
std::vector<Box> VisibleBoxes(DWORD nProcessId) {
    std::vector<Box> boxes;
    for (HWND hWnd : VisibleWindows("#32770", nProcessId)) {
        Box box;
        box.hWnd = hWnd;
        box.strCaption = WindowText(hWnd);
        if (HWND hText = GetDlgItem(hWnd, kMessageBoxTextId))
            box.strText = WindowText(hText);
        boxes.push_back(box);
    }
    return boxes;
}

// What is on the screen, for a failure's message.
std::string OpenBoxesNote() {
    std::string strNote;
    for (const Box& box : VisibleBoxes(0))
        if (box.strCaption != "" || box.strText != "")
            strNote += "\n  open: [" + box.strCaption + "] " + box.strText;
    return strNote.empty() ? "\n  (no dialog or message box is open)" : strNote;
}

// The first box of the process with that caption that also passes the test,
// as soon as there is one.
Box WaitForBox(
    DWORD nProcessId, const std::string& strCaption, DWORD nMilliseconds,
    const std::function<bool(const Box&)>& bWanted = [](const Box&) { return true; }) {
    Box found;
    const bool bFound = WaitUntil(
        [&] {
            for (const Box& box : VisibleBoxes(nProcessId))
                if (box.strCaption == strCaption && bWanted(box)) {
                    found = box;
                    return true;
                }
            return false;
        },
        nMilliseconds);
    if (!bFound)
        Fail("no window '" + strCaption + "' appeared within " + Seconds(nMilliseconds) +
             OpenBoxesNote());
    return found;
}

// Presses a button of a box or dialog, as a click on it does, and waits
// until the box is gone, unless it is told to stay.
void Press(HWND hBox, int nButton, const char* pszName, bool bCloses = true) {
    HWND hButton = GetDlgItem(hBox, nButton);
    if (!hButton)
        Fail(std::string("the window '") + WindowText(hBox) + "' has no button " + pszName);
    PostMessageA(hBox, WM_COMMAND, MAKEWPARAM(nButton, BN_CLICKED),
                 reinterpret_cast<LPARAM>(hButton));
    if (bCloses &&
        !WaitUntil([&] { return !IsWindow(hBox) || !IsWindowVisible(hBox); }, kShortWait))
        Fail(std::string("the window '") + WindowText(hBox) + "' stayed after " + pszName +
             OpenBoxesNote());
}

// A message box of the program: its text must be the one expected.
Box WaitForMessage(DWORD nProcessId, const std::string& strExpected, DWORD nMilliseconds) {
    const Box box = WaitForBox(nProcessId, kAppCaption, nMilliseconds);
    Say("  Quillon says: " + box.strText);
    if (box.strText != strExpected)
        Fail("Quillon said '" + box.strText + "' instead of '" + strExpected + "'");
    return box;
}

// The text of an edit control, also of another process's.
std::string EditText(HWND hEdit) {
    char szText[1024] = "";
    SendMessageA(hEdit, WM_GETTEXT, sizeof szText, reinterpret_cast<LPARAM>(szText));
    return szText;
}

// Types a text into an edit control as the keyboard would, replacing what
// it held.
void TypeInto(HWND hEdit, const std::string& strText) {
    SendMessageA(hEdit, EM_SETSEL, 0, -1);
    SendMessageA(hEdit, WM_CHAR, VK_BACK, 0);
    for (char ch : strText)
        SendMessageA(hEdit, WM_CHAR, static_cast<unsigned char>(ch), 1);
    if (EditText(hEdit) != strText)
        Fail("typing '" + strText + "' left '" + EditText(hEdit) + "' in the field");
}

BOOL CALLBACK FindEdit(HWND hWnd, LPARAM lParam) {
    char szClass[16] = "";
    GetClassNameA(hWnd, szClass, sizeof szClass);
    if (lstrcmpiA(szClass, "Edit") != 0)
        return TRUE;
    *reinterpret_cast<HWND*>(lParam) = hWnd;
    return FALSE;
}

// The file name field of a save dialog: the edit of combo box 1148 in the
// explorer-style dialog (Wine nests it in a ComboBoxEx), or edit 1152.
HWND FindFileNameEdit(HWND hDialog) {
    HWND hEdit = nullptr;
    if (HWND hCombo = GetDlgItem(hDialog, 1148))
        EnumChildWindows(hCombo, FindEdit, reinterpret_cast<LPARAM>(&hEdit));
    return hEdit ? hEdit : GetDlgItem(hDialog, 1152);
}

// Opens the Tool menu with Alt+T and chooses the item that answers to the
// key.
void ChooseToolItem(const CRemoteQuillon& quillon, char chKey) {
    auto KeyData = [](UINT nKey, bool bAlt) {
        LPARAM lParam = 1 | (static_cast<LPARAM>(MapVirtualKeyA(nKey, MAPVK_VK_TO_VSC)) << 16);
        return bAlt ? lParam | (KF_ALTDOWN << 16) : lParam;
    };
    PostMessageA(quillon.Frame(), WM_SYSKEYDOWN, 'T', KeyData('T', true));
    if (!WaitUntil([&] { return !VisibleWindows("#32768", quillon.ProcessId()).empty(); },
                   kShortWait))
        Fail("the Tool menu did not open" + OpenBoxesNote());
    PostMessageA(quillon.Frame(), WM_KEYDOWN, chKey, KeyData(chKey, false));
}

// Types the path into the save dialog of that title and presses Save;
// Wine's own questions (create the file? replace it?) get Yes.
void SaveAs(DWORD nProcessId, const char* pszTitle, const std::string& strPath) {
    const Box dialog = WaitForBox(nProcessId, pszTitle, kShortWait, [](const Box& box) {
        return FindFileNameEdit(box.hWnd) != nullptr;
    });
    Say("  dialog: " + dialog.strCaption);
    HWND hEdit = FindFileNameEdit(dialog.hWnd);
    // The dialog fills its fields as it opens: the offered name comes last.
    WaitUntil([&] { return !EditText(hEdit).empty(); }, 5000);
    Say("  offered: " + EditText(hEdit) + "; typed: " + strPath);
    TypeInto(hEdit, strPath);
    Press(dialog.hWnd, IDOK, "Save", false);
    const bool bClosed = WaitUntil(
        [&] {
            if (!IsWindow(dialog.hWnd) || !IsWindowVisible(dialog.hWnd))
                return true;
            for (const Box& box : VisibleBoxes(nProcessId))
                if (box.hWnd != dialog.hWnd && box.strCaption == pszTitle) {
                    if (!GetDlgItem(box.hWnd, IDYES))
                        Fail("the save dialog said: " + box.strText);
                    Say("  Wine asks: " + OneLine(box.strText) + " -> Yes");
                    Press(box.hWnd, IDYES, "Yes");
                }
            return false;
        },
        kShortWait);
    if (!bClosed)
        Fail("the save dialog did not close" + OpenBoxesNote());
}

// The registry editor that the program started, as soon as it runs: a
// process of its own, a child of the program's. Null while there is none.
HANDLE OpenEditorProcess(DWORD nParentId) {
    HANDLE hSnapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    if (hSnapshot == INVALID_HANDLE_VALUE)
        return nullptr;
    HANDLE hProcess = nullptr;
    PROCESSENTRY32 entry{};
    entry.dwSize = sizeof entry;
    for (BOOL bMore = Process32First(hSnapshot, &entry); bMore && !hProcess;
         bMore = Process32Next(hSnapshot, &entry))
        if (entry.th32ParentProcessID == nParentId &&
            lstrcmpiA(entry.szExeFile, "regedit.exe") == 0)
            hProcess = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_LIMITED_INFORMATION, FALSE,
                                   entry.th32ProcessID);
    CloseHandle(hSnapshot);
    return hProcess;
}

void RequestScreenshot(const std::string& strRequest) {
    HANDLE hFile = CreateFileA(strRequest.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        Fail("cannot create " + strRequest);
    CloseHandle(hFile);
    if (!WaitUntil(
            [&] { return GetFileAttributesA(strRequest.c_str()) == INVALID_FILE_ATTRIBUTES; },
            60000))
        Fail("nobody took the screenshot (" + strRequest + " is still there)");
}

void RunDemo(const std::string& strFolder, const std::string& strScreenshotRequest) {
    CRemoteQuillon quillon;
    Step("Starting " + QuillonExePath());
    if (!quillon.Start(60000))
        Fail(quillon.Error());
    const DWORD nId = quillon.ProcessId();
    g_nQuillonId = nId;

    Step("Tool > Search");
    ChooseToolItem(quillon, 'S');
    const Box options = WaitForBox(nId, kSearchOptions, kShortWait);
    TypeInto(GetDlgItem(options.hWnd, kFindWhatId), kFind);
    TypeInto(GetDlgItem(options.hWnd, kReplaceWithId), kReplace);
    Say(std::string("  Find What: ") + kFind + "; Replace With: " + kReplace + "; OK");
    Press(options.hWnd, IDOK, "OK");

    Step("Searching the whole registry");
    Press(WaitForMessage(nId, kSearchEnded, kLongWait).hWnd, IDOK, "OK");
    const std::vector<ResultRow> rows = quillon.Rows();
    Say("  status bar: " + quillon.PaneText(1) + "; " + std::to_string(rows.size()) + " rows:");
    for (const ResultRow& row : rows)
        Say("    " + row.strRootKey + row.strKeyPath + " : " + row.strValueName + " = " +
            row.strValueData);
    if (rows.empty())
        Fail("the search found nothing");

    Step("Screenshot of the window with its rows");
    RequestScreenshot(strScreenshotRequest);

    Step("Tool > Export Changes");
    ChooseToolItem(quillon, 'E');
    SaveAs(nId, kBackupTitle, strFolder + "\\Backup.reg");
    SaveAs(nId, kChangesTitle, strFolder + "\\Changes.reg");
    Box box = WaitForBox(nId, kAppCaption, kLongWait);
    if (box.strText.compare(0, sizeof kLeftOut - 1, kLeftOut) == 0) {
        Say("  Quillon says: " + box.strText);
        Press(box.hWnd, IDOK, "OK");
        box = WaitForBox(nId, kAppCaption, kShortWait);
    }
    if (box.strText != kImportQuestion)
        Fail("Quillon said '" + box.strText + "' instead of asking to import");
    Say(std::string("  Quillon asks: ") + kImportQuestion + " -> Yes");
    Press(box.hWnd, IDYES, "Yes");

    Step("The registry editor imports Changes.reg");
    // A message box instead says that the editor could not run.
    HANDLE hEditor = nullptr;
    const bool bStarted = WaitUntil(
        [&] {
            for (const Box& other : VisibleBoxes(nId))
                if (other.strCaption == kAppCaption)
                    Fail("Quillon said '" + other.strText + "'");
            hEditor = OpenEditorProcess(nId);
            return hEditor != nullptr;
        },
        kShortWait);
    if (!bStarted)
        Fail("the registry editor did not start" + OpenBoxesNote());
    const DWORD nEditorStart = GetTickCount();
    const bool bEnded = WaitForSingleObject(hEditor, kLongWait) == WAIT_OBJECT_0;
    DWORD nEditorCode = 1;
    GetExitCodeProcess(hEditor, &nEditorCode);
    CloseHandle(hEditor);
    if (!bEnded)
        Fail("the registry editor did not end" + OpenBoxesNote());
    Say("  the registry editor ended after " + Seconds(GetTickCount() - nEditorStart) +
        ", with the code " + std::to_string(nEditorCode));
    // The window, minimised while the editor ran, comes back.
    if (!WaitUntil([&] { return !IsIconic(quillon.Frame()); }, kShortWait))
        Fail("the window did not come back after the registry editor" + OpenBoxesNote());

    Step("Tool > Exit");
    ChooseToolItem(quillon, 'X');
    if (!quillon.WaitForExit(kShortWait))
        Fail("Quillon did not end" + OpenBoxesNote());
    DWORD nExitCode = 1;
    GetExitCodeProcess(quillon.Process(), &nExitCode);
    if (nExitCode != 0)
        Fail("Quillon ended with the code " + std::to_string(nExitCode));
    Say("  Quillon has ended");
}

// Ends the demo when it takes too long, whatever it waits for.
void Watchdog() {
    Sleep(kWholeDemo);
    std::lock_guard<std::mutex> lock(g_mutex);
    Say("DEMO FAILED: no end after " + Seconds(kWholeDemo) + ", at the step '" + g_strStep + "'" +
        OpenBoxesNote());
    if (HANDLE hQuillon = OpenProcess(PROCESS_TERMINATE, FALSE, g_nQuillonId)) {
        TerminateProcess(hQuillon, 1);
        CloseHandle(hQuillon);
    }
    ExitProcess(1);
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "Usage: drive_demo.exe FOLDER SCREENSHOT_REQUEST\n");
        return 2;
    }
    std::thread(Watchdog).detach();
    try {
        RunDemo(argv[1], argv[2]);
    } catch (const std::exception& error) {
        std::lock_guard<std::mutex> lock(g_mutex);
        Say("DEMO FAILED at the step '" + g_strStep + "': " + error.what());
        return 1;
    }
    return 0;
}
