#ifndef QUILLON_APP_MAIN_FRAME_H
#define QUILLON_APP_MAIN_FRAME_H

#include <string>

// The main frame: the program's only top-level window, and the holder of the
// state that the search and the export share.
class CMainFrame {
public:
    // Puts the short (8.3) form of strPath into strShortPath, or makes it
    // empty when strPath names nothing that exists. An empty strPath leaves
    // strShortPath as it was.
    static void GetShortPath(std::string strPath, std::string& strShortPath);

    // The search settings: the texts that the search dialog accepted last,
    // and their short forms.
    std::string m_strFind;
    std::string m_strFindShort;
    std::string m_strReplace;
    std::string m_strReplaceShort;
};

#endif
