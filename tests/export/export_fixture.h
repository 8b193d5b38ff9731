#ifndef QUILLON_TESTS_EXPORT_EXPORT_FIXTURE_H
#define QUILLON_TESTS_EXPORT_EXPORT_FIXTURE_H

#include "app/frame_fixture.h"
#include "results/result_list.h"
#include "search/registry_walker.h"
#include "search/search_pacer.h"
#include "support/box_answerer.h"
#include "support/test_key.h"
#include "support/test_windows.h"
#include "support/window_search.h"

#include <commctrl.h>

#include <deque>
#include <fstream>
#include <iterator>
#include <mutex>
#include <sstream>
#include <string>
#include <vector>

// The texts that the export shows.
inline const char kBackupDialog[] =
    "dialog: Please Select a Location For The File That Will Contain Registry Backup.";
inline const char kChangesDialog[] =
    "dialog: Please Select a Location For The File That Will Contain Registry Changes.";
// The save dialog's own question (replace the file? create it?), answered Yes.
inline const char kDialogQuestion[] = "the save dialog's own question";
inline const char kChooseAgain[] = "Please Choose An Other Location.";
inline const char kImportQuestion[] =
    "Do You Want to Import the Modified Values in the Registry, Now ?";
inline const char kCannotRunEditor[] =
    "Cannot Run REGEDIT.EXE.\r\nPlease Check Quillon Execution Environment.";

inline std::string CannotWrite(const std::string& strPath) {
    return "Cannot Properly Write In '" + strPath + "' File.";
}

// The file name field of a save dialog: the edit of combo box 1148 in the
// explorer-style dialog (Wine nests it in a ComboBoxEx), or edit 1152.
inline HWND FindFileNameEdit(HWND hDialog) {
    if (HWND hCombo = GetDlgItem(hDialog, 1148)) {
        HWND hEdit = FindChildWindow(hCombo, [](HWND hWnd) {
            return lstrcmpiA(WindowClassName(hWnd).c_str(), "Edit") == 0;
        });
        if (hEdit)
            return hEdit;
        char szClass[16] = "";
        GetClassNameA(hCombo, szClass, sizeof szClass);
        if (lstrcmpiA(szClass, "Edit") == 0)
            return hCombo;
    }
    return GetDlgItem(hDialog, 1152);
}

// The text of an edit control, also of another process's: asked of the
// control itself, since the system keeps no copy of an edit's text.
inline std::string EditText(HWND hEdit) {
    const LRESULT nLength = SendMessageA(hEdit, WM_GETTEXTLENGTH, 0, 0);
    std::string text(static_cast<size_t>(nLength) + 1, '\0');
    const LRESULT nCopied =
        SendMessageA(hEdit, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(text.data()));
    text.resize(nCopied > 0 ? static_cast<size_t>(nCopied) : 0);
    return text;
}

// Types a text into an edit control as the keyboard would, replacing what
// it held.
inline void TypeInto(HWND hEdit, const std::string& strText) {
    SendMessageA(hEdit, EM_SETSEL, 0, -1);
    SendMessageA(hEdit, WM_CHAR, VK_BACK, 0);
    for (char ch : strText)
        SendMessageA(hEdit, WM_CHAR, static_cast<unsigned char>(ch), 1);
}

// The user at the export's dialogs and boxes: types the next chosen name
// into each save dialog (or cancels it), answers the dialog's own questions
// with Yes, the import question as told, and every other box with OK.
// Everything seen is kept, in order, as the user saw it.
class CExportUser {
public:
    // A choice that cancels the save dialog instead of naming a file.
    static constexpr const char* kCancel = "<cancel>";

    CExportUser(std::deque<std::string> backupChoices, std::deque<std::string> changeChoices,
                int nImportAnswer = IDNO)
        : m_backupChoices(std::move(backupChoices)), m_changeChoices(std::move(changeChoices)),
          m_nImportAnswer(nImportAnswer) {}
    ~CExportUser() {
        for (const std::string& strPath : m_unexpected)
            DeleteFileA(strPath.c_str());
    }
    CExportUser(const CExportUser&) = delete;
    CExportUser& operator=(const CExportUser&) = delete;

    int Answer(const CBoxAnswerer::Box& box) {
        const std::string strBackupTitle = kBackupDialog + 8;
        const std::string strChangesTitle = kChangesDialog + 8;
        const bool bSaveTitle =
            box.strCaption == strBackupTitle || box.strCaption == strChangesTitle;
        if (bSaveTitle && box.strText.empty())
            return AnswerSaveDialog(box, box.strCaption == strBackupTitle ? m_backupChoices
                                                                          : m_changeChoices);
        if (bSaveTitle) {
            Note(kDialogQuestion);
            return GetDlgItem(box.hWnd, IDYES) ? IDYES : IDOK;
        }
        Note(box.strCaption == "Quillon" ? box.strText : "[" + box.strCaption + "] " + box.strText);
        if (box.strText == kImportQuestion)
            return m_nImportAnswer;
        if (m_onMessage)
            m_onMessage(box);
        return CBoxAnswerer::PressDefault(box);
    }

    std::vector<std::string> Seen() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_seen;
    }
    // The file names that the save dialogs offered when they opened.
    std::vector<std::string> Offered() const {
        std::lock_guard<std::mutex> lock(m_mutex);
        return m_offered;
    }

    // Called, on the answering thread, for each message box other than the
    // import question, before it is answered.
    std::function<void(const CBoxAnswerer::Box&)> m_onMessage;
    // Called, on the answering thread, for each save dialog before it is
    // answered.
    std::function<void(const CBoxAnswerer::Box&)> m_onSaveDialog;

private:
    int AnswerSaveDialog(const CBoxAnswerer::Box& box, std::deque<std::string>& choices) {
        // The dialog fills its fields as it opens; it is answered once the
        // offered name is there (or after a while, so that a dialog that
        // offers nothing is still answered).
        HWND hEdit = FindFileNameEdit(box.hWnd);
        if (box.hWnd != m_hWaiting) {
            m_hWaiting = box.hWnd;
            m_nWaitStart = GetTickCount();
        }
        if ((!hEdit || EditText(hEdit).empty()) && GetTickCount() - m_nWaitStart < 3000)
            return 0;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_seen.push_back("dialog: " + box.strCaption);
            m_offered.push_back(hEdit ? EditText(hEdit) : std::string());
        }
        if (m_onSaveDialog)
            m_onSaveDialog(box);
        // A dialog that the test did not expect gets a file of its own, so that
        // the command still comes to its end; the list of what was seen shows it.
        const std::string strChoice = choices.empty() ? UnexpectedFile() : choices.front();
        if (!choices.empty())
            choices.pop_front();
        if (strChoice == kCancel || !hEdit)
            return IDCANCEL;
        TypeInto(hEdit, strChoice);
        if (EditText(hEdit) != strChoice)
            SendMessageA(hEdit, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(strChoice.c_str()));
        return IDOK;
    }

    std::string UnexpectedFile() {
        char szTemp[MAX_PATH + 1] = "";
        GetTempPathA(MAX_PATH, szTemp);
        m_unexpected.push_back(std::string(szTemp) + "Quillon Unexpected " +
                               std::to_string(GetCurrentProcessId()) + " " +
                               std::to_string(m_unexpected.size()) + ".reg");
        return m_unexpected.back();
    }

    void Note(const std::string& strWhat) {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_seen.push_back(strWhat);
    }

    std::deque<std::string> m_backupChoices;
    std::deque<std::string> m_changeChoices;
    int m_nImportAnswer;
    HWND m_hWaiting = nullptr;
    DWORD m_nWaitStart = 0;
    mutable std::mutex m_mutex;
    std::vector<std::string> m_seen;
    std::vector<std::string> m_offered;
    std::vector<std::string> m_unexpected;
};

// Keeps chosen messages that a window receives, through a subclass of the
// window, until it is destroyed.
class CMessageRecorder {
public:
    struct Message {
        UINT nMsg;
        WPARAM wParam;
        std::string strText; // the text of SB_SETTEXTA, else empty
    };

    CMessageRecorder(HWND hWnd, std::vector<UINT> messages)
        : m_hWnd(hWnd), m_messages(std::move(messages)) {
        SetWindowSubclass(m_hWnd, Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    }
    ~CMessageRecorder() { RemoveWindowSubclass(m_hWnd, Proc, 1); }
    CMessageRecorder(const CMessageRecorder&) = delete;
    CMessageRecorder& operator=(const CMessageRecorder&) = delete;

    const std::vector<Message>& Received() const { return m_received; }

private:
    static LRESULT CALLBACK Proc(HWND hWnd, UINT nMsg, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                 DWORD_PTR dwRefData) {
        auto* pThis = reinterpret_cast<CMessageRecorder*>(dwRefData);
        for (UINT n : pThis->m_messages)
            if (n == nMsg)
                pThis->m_received.push_back(
                    {nMsg, wParam,
                     nMsg == SB_SETTEXTA && lParam ? reinterpret_cast<const char*>(lParam) : ""});
        return DefSubclassProc(hWnd, nMsg, wParam, lParam);
    }

    HWND m_hWnd;
    std::vector<UINT> m_messages;
    std::vector<Message> m_received;
};

// A folder of the test's own in the temporary folder, for the exported
// files; it is removed with everything in it at the end.
class CExportFolder {
public:
    CExportFolder() {
        char szTemp[MAX_PATH + 1] = "";
        GetTempPathA(MAX_PATH, szTemp);
        m_strPath = std::string(szTemp) + "Quillon Export " + std::to_string(GetCurrentProcessId());
        RemoveAll();
        CreateDirectoryA(m_strPath.c_str(), nullptr);
    }
    ~CExportFolder() { RemoveAll(); }
    CExportFolder(const CExportFolder&) = delete;
    CExportFolder& operator=(const CExportFolder&) = delete;

    const std::string& Path() const { return m_strPath; }
    std::string File(const std::string& strName) const { return m_strPath + "\\" + strName; }

    // The names of the files in the folder.
    std::vector<std::string> FileNames() const {
        std::vector<std::string> names;
        WIN32_FIND_DATAA found;
        HANDLE hFind = FindFirstFileA((m_strPath + "\\*").c_str(), &found);
        if (hFind == INVALID_HANDLE_VALUE)
            return names;
        do {
            if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                names.push_back(found.cFileName);
        } while (FindNextFileA(hFind, &found));
        FindClose(hFind);
        return names;
    }

private:
    void RemoveAll() const {
        for (const std::string& strName : FileNames())
            DeleteFileA(File(strName).c_str());
        RemoveDirectoryA(m_strPath.c_str());
    }

    std::string m_strPath;
};

// The whole content of a file, byte for byte ("<missing>" when it cannot be
// read).
inline std::string ReadWholeFile(const std::string& strPath) {
    std::ifstream file(strPath, std::ios::binary);
    if (!file)
        return "<missing>";
    return std::string(std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>());
}

// The program's frame with a test key of the test's own and a folder for the
// exported files; the export is run as the user runs it.
class ExportTest : public FrameTest {
protected:
    std::string Backup() const { return m_folder.File("Backup.reg"); }
    std::string Changes() const { return m_folder.File("Changes.reg"); }

    // What a search dialog that accepted these texts leaves in the frame.
    void SetTexts(const std::string& strFind, const std::string& strReplace) {
        m_pFrame->m_strFind = strFind;
        m_pFrame->m_strReplace = strReplace;
        m_pFrame->m_strFindShort.clear();
        m_pFrame->m_strReplaceShort.clear();
        CMainFrame::GetShortPath(strFind, m_pFrame->m_strFindShort);
        CMainFrame::GetShortPath(strReplace, m_pFrame->m_strReplaceShort);
    }

    // A search of the test key with the search's own walker, into the
    // frame's list, with the texts set as the Search command sets them.
    void Search(const std::string& strFind, const std::string& strReplace) {
        SetTexts(strFind, strReplace);
        CResultList(View()).DeleteAllRows();
        std::atomic<LONG> bSearching{1};
        int nKeyCount = 0;
        // Paced as the Search command paces it: rows reach the list in
        // batches through the frame.
        CSearchPacer pacer(WM_APPEND_ROWS);
        ASSERT_TRUE(RecurseRegistry(Frame(), View(), WM_SHOW_KEY_COUNT, WM_SHOW_KEY_PATH,
                                    &bSearching, m_pFrame->m_strFind, m_pFrame->m_strFindShort,
                                    "HKEY_CURRENT_USER", m_key.KeyPath(), m_key.Handle(),
                                    &nKeyCount, RegistryOps::Real(), &pacer));
        pacer.Flush(Frame(), WM_SHOW_KEY_COUNT, WM_SHOW_KEY_PATH);
    }

    // A row that no search of the test key could give.
    void AppendRow(const std::string& strRootKey, const std::string& strKeyPath,
                   const std::string& strName, const std::string& strData, int nCheck = 1,
                   unsigned nFlags = 0) {
        ResultRow row;
        row.strRootKey = strRootKey;
        row.strKeyPath = strKeyPath;
        row.strValueName = strName;
        row.strValueData = strData;
        row.nCheck = nCheck;
        row.nFlags = nFlags;
        ASSERT_TRUE(CResultList(View()).AppendRow(row));
    }

    std::vector<ResultRow> Rows() const { return ReadRows(View()); }

    // Tool > Export Changes with the user answering; what the user saw.
    std::vector<std::string> Export(CExportUser& user) {
        {
            CBoxAnswerer answerer(
                [&user](const CBoxAnswerer::Box& box) { return user.Answer(box); });
            Command(ID_TOOL_EXPORTCHANGES);
        }
        return user.Seen();
    }

    // The plain case: the two files named as offered in the test's folder.
    std::vector<std::string> Export(int nImportAnswer = IDNO) {
        CExportUser user({Backup()}, {Changes()}, nImportAnswer);
        return Export(user);
    }

    CTestKey m_key;
    CExportFolder m_folder;
};

#endif
