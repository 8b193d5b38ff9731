#ifndef QUILLON_APP_MAIN_FRAME_H
#define QUILLON_APP_MAIN_FRAME_H

#include "platform/frame_window.h"
#include "platform/status_bar.h"
#include "results/child_view.h"

#include <atomic>
#include <string>
#include <vector>

class CRegistryScriptWriter;
struct LeftOutRow;

// Private messages from the search worker: each carries, in lParam, a text
// for one status bar pane.
constexpr UINT WM_SHOW_KEY_COUNT = WM_APP + 1;
constexpr UINT WM_SHOW_KEY_PATH = WM_APP + 2;
// Found rows for the result list, in batches: wParam the count, lParam the
// first row.
constexpr UINT WM_APPEND_ROWS = WM_APP + 3;

// The main frame: the program's only top-level window, and the holder of the
// state that the search and the export share. It hosts the result view and
// a status bar, and refuses to close while a search or an export runs.
class CMainFrame : public CFrameWindow {
public:
    CMainFrame() = default;
    ~CMainFrame() override;

    // Puts the short (8.3) form of strPath into strShortPath, or makes it
    // empty when strPath names nothing that exists. An empty strPath leaves
    // strShortPath as it was.
    static void GetShortPath(std::string strPath, std::string& strShortPath);

    // Tool > Search: asks for the texts, then searches on a worker thread.
    void OnSearch();
    // Tool > Export Changes.
    void OnCommit();

    // The search settings: the texts that the search dialog accepted last,
    // and their short forms.
    std::string m_strFind;
    std::string m_strFindShort;
    std::string m_strReplace;
    std::string m_strReplaceShort;
    // Shared with the search worker; each is read and written whole.
    std::atomic<LONG> m_bSearching{0};  // 1 while the worker walks; 0 asks it to stop
    std::atomic<LONG> m_bExporting{0};  // 1 while the export runs
    std::atomic<HANDLE> m_hSearchThread{nullptr}; // set while a worker exists
    CStatusBar m_wndStatusBar;
    CChildView m_wndView;

protected:
    BOOL PreCreateWindow(CREATESTRUCTA& cs) override;
    int OnCreate(CREATESTRUCTA* pCreate) override;
    void OnSetFocus(HWND hWndOld) override;
    BOOL OnCmdMsg(UINT nId, int nCode) override;
    CStatusBar* GetStatusBar() override { return &m_wndStatusBar; }
    LRESULT WindowProc(UINT nMsg, WPARAM wParam, LPARAM lParam) override;

private:
    // Puts a text into a status bar pane and shows it at once.
    void ShowInPane(UINT nPaneId, const char* pszText);
    // The export's pass over the list: each checked row that can be written
    // exactly goes to both files; the others are gathered in leftOut.
    void WriteCheckedRows(CRegistryScriptWriter& backup, CRegistryScriptWriter& changes,
                          std::vector<LeftOutRow>& leftOut);
    // Shows the user which row is being written.
    void FlashRow(int nRow);
    void ShowExportProgress(int nRow, const std::string& strKeyPath);
};

// The search worker's start routine; its parameter is the frame.
DWORD WINAPI fnSearchWorkerThread(LPVOID pParam);

#endif
