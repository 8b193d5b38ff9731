#include "app/main_frame.h"

#include "export/regedit_launcher.h"
#include "export/registry_script_writer.h"
#include "export/replace_found_text.h"
#include "export/row_check.h"
#include "export/save_file_dialog.h"
#include "platform/ansi_text.h"
#include "platform/message_box.h"
#include "res/resource.h"
#include "search/progress_texts.h"

#include <memory>

namespace {

const char kBackupTitle[] =
    "Please Select a Location For The File That Will Contain Registry Backup.";
const char kChangesTitle[] =
    "Please Select a Location For The File That Will Contain Registry Changes.";
const char kRootKeyNames[][20] = {"HKEY_CLASSES_ROOT", "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE",
                                  "HKEY_USERS", "HKEY_CURRENT_CONFIG"};

std::string CannotWriteMessage(const std::string& strPath) {
    return "Cannot Properly Write In '" + strPath + "' File.";
}

// Asks until the user chooses a file; the dialog cannot be left without one.
// bAccept tells whether a chosen path will do.
template <typename Accept>
void ChooseFile(HWND hWndOwner, const char* pszTitle, std::string& strPath, Accept bAccept) {
    while (!AskForSavePath(hWndOwner, pszTitle, strPath) || !bAccept(strPath))
        AppMessageBox("Please Choose An Other Location.", MB_OK);
}

// The identity of an existing file: its volume and its index on the volume.
bool ReadFileIdentity(const std::string& strPath, BY_HANDLE_FILE_INFORMATION& info) {
    HANDLE hFile =
        CreateFileA(strPath.c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                    nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return false;
    const BOOL bRead = GetFileInformationByHandle(hFile, &info);
    CloseHandle(hFile);
    return bRead != FALSE;
}

// Whether the two paths name the same file: equal when case is ignored, or
// naming one existing file however else they are spelt (a short form of a
// folder, a relative path, a link). The change file must never be the
// backup file: opening it again would empty the backup while it is written.
bool NamesSameFile(const std::string& strPath, const std::string& strOtherPath) {
    if (AnsiUpperCopy(strPath) == AnsiUpperCopy(strOtherPath))
        return true;
    BY_HANDLE_FILE_INFORMATION info{}, other{};
    return ReadFileIdentity(strPath, info) && ReadFileIdentity(strOtherPath, other) &&
           info.dwVolumeSerialNumber == other.dwVolumeSerialNumber &&
           info.nFileIndexHigh == other.nFileIndexHigh && info.nFileIndexLow == other.nFileIndexLow;
}

bool NamesARootKey(const std::string& strRootKeyUpper) {
    for (const char* pszName : kRootKeyNames)
        if (AnsiContains(strRootKeyUpper, pszName))
            return true;
    return false;
}

} // namespace

void CMainFrame::OnCommit() {
    if (m_strFind.empty() || m_strReplace.empty() || m_bSearching != 0 ||
        m_hSearchThread.load() != nullptr || m_bExporting != 0 ||
        m_wndView.Rows().GetRowCount() == 0)
        return;
    m_bExporting = 1;

    std::string strBackupPath = "Backup.reg";
    std::string strChangesPath;
    std::unique_ptr<CRegistryScriptWriter> pBackup;
    std::unique_ptr<CRegistryScriptWriter> pChanges;
    bool bOpened = false; // both files are open and their headers written
    std::vector<LeftOutRow> leftOut;
    try {
        ChooseFile(m_hWnd, kBackupTitle, strBackupPath, [](const std::string&) { return true; });
        pBackup = std::make_unique<CRegistryScriptWriter>();
        if (!pBackup->Open(strBackupPath)) {
            AppMessageBox(CannotWriteMessage(strBackupPath), MB_OK);
        } else {
            strChangesPath = "Changes.reg";
            ChooseFile(m_hWnd, kChangesTitle, strChangesPath, [&](const std::string& strPath) {
                return !NamesSameFile(strPath, strBackupPath);
            });
            pChanges = std::make_unique<CRegistryScriptWriter>();
            if (!pChanges->Open(strChangesPath))
                AppMessageBox(CannotWriteMessage(strChangesPath), MB_OK);
            else
                bOpened = true;
        }
        if (bOpened)
            WriteCheckedRows(*pBackup, *pChanges, leftOut);
    } catch (...) {
        ReportException("CMainFrame::OnCommit");
    }

    try {
        // Both files are checked as they are closed: one cut short by a full
        // disk or a failing device must not look complete.
        bool bFilesSound = bOpened;
        if (pBackup && !pBackup->Close() && bOpened) {
            AppMessageBox(CannotWriteMessage(strBackupPath), MB_OK);
            bFilesSound = false;
        }
        if (pChanges && !pChanges->Close() && bOpened) {
            AppMessageBox(CannotWriteMessage(strChangesPath), MB_OK);
            bFilesSound = false;
        }
        if (!leftOut.empty())
            AppMessageBox(MakeLeftOutMessage(leftOut), MB_OK);
        if (bFilesSound &&
            AppMessageBox("Do You Want to Import the Modified Values in the Registry, Now ?",
                          MB_YESNO | MB_ICONQUESTION) == IDYES &&
            !RunRegistryEditor(m_hWnd, strChangesPath))
            AppMessageBox("Cannot Run REGEDIT.EXE.\r\nPlease Check Quillon Execution Environment.",
                          MB_OK);
    } catch (...) {
        ReportException("CMainFrame::OnCommit");
    }
    m_bExporting = 0;
}

void CMainFrame::WriteCheckedRows(CRegistryScriptWriter& backup, CRegistryScriptWriter& changes,
                                  std::vector<LeftOutRow>& leftOut) {
    const CResultList rows = m_wndView.Rows();
    for (int i = 0; i < rows.GetRowCount(); ++i) {
        if (rows.GetRowCheck(i) == 0)
            continue;
        ResultRow row;
        try {
            row.strRootKey = rows.GetRowText(i, CResultList::kColRootKey);
            row.strKeyPath = rows.GetRowText(i, CResultList::kColKey);
            row.strValueName = rows.GetRowText(i, CResultList::kColName);
            row.strValueData = rows.GetRowText(i, CResultList::kColValue);
            row.nFlags = rows.GetRowFlags(i);
        } catch (...) {
            continue;
        }
        try {
            if (row.strRootKey.empty() || row.strValueData.empty())
                continue;
            AnsiUpper(row.strRootKey);
            if (!NamesARootKey(row.strRootKey))
                continue;
            const std::string strWhy = WhyRowCannotBeExported(row);
            if (!strWhy.empty()) {
                leftOut.push_back({MakeKeyPath(row.strRootKey, row.strKeyPath) + "\\" +
                                       row.strValueName,
                                   strWhy});
                continue;
            }
            FlashRow(i);
            backup.WriteKeyLine(row.strRootKey, row.strKeyPath);
            changes.WriteKeyLine(row.strRootKey, row.strKeyPath);
            ShowExportProgress(i, MakeKeyPath(row.strRootKey, row.strKeyPath));

            const ReplaceResult result = ReplaceFoundText(row.strValueData, m_strFind,
                                                          m_strFindShort, m_strReplace,
                                                          m_strReplaceShort);
            if (result.nCount == 0)
                continue;
            const bool bUnnamed = (row.nFlags & kRowUnnamedValue) != 0;
            backup.WriteValueLine(row.strValueName, bUnnamed, row.strValueData);
            changes.WriteValueLine(row.strValueName, bUnnamed, result.strNewData);
            Sleep(0);
        } catch (...) {
            AppMessageBox("An Exception Has Occured While Processing The Following Values : "
                          "\r\n\r\nRoot Key = '" +
                              row.strRootKey + "'\r\nKey = '" + row.strKeyPath +
                              "'\r\nValue Name = '" + row.strValueName + "'\r\nValue Data = '" +
                              row.strValueData + "'\r\n",
                          MB_OK);
        }
    }
}

void CMainFrame::FlashRow(int nRow) {
    HWND hList = m_wndView.GetHwnd();
    SendMessageA(hList, LVM_ENSUREVISIBLE, nRow, FALSE);
    UpdateWindow(m_hWnd);
    UpdateWindow(hList);
    RECT bounds{};
    bounds.left = LVIR_BOUNDS;
    SendMessageA(hList, LVM_GETITEMRECT, nRow, reinterpret_cast<LPARAM>(&bounds));
    m_wndView.DrawRowFrame(bounds, GetDC(hList), hList);
    Sleep(1);
    m_wndView.DrawRowFrame(bounds, GetDC(hList), hList);
}

void CMainFrame::ShowExportProgress(int nRow, const std::string& strKeyPath) {
    ShowInPane(ID_INDICATOR_KEYCOUNT, KeyCountText(nRow).c_str());
    ShowInPane(ID_INDICATOR_KEYPATH, strKeyPath.c_str());
}
