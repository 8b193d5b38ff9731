#include "app/main_frame.h"

#include "platform/message_box.h"

#include <windows.h>

void CMainFrame::GetShortPath(std::string strPath, std::string& strShortPath) {
    try {
        if (strPath.empty())
            return;
        strShortPath.clear();
        // Only an existing file or folder has a short form. A relative text is
        // looked up against the current directory, as for any relative path.
        if (GetFileAttributesA(strPath.c_str()) == INVALID_FILE_ATTRIBUTES)
            return;
        // The first call usually fits; a longer short form is read again with
        // the size that the system asks for, so no deep path loses its form.
        std::string buffer(257, '\0');
        DWORD nLength = GetShortPathNameA(strPath.c_str(), buffer.data(), 256);
        if (nLength >= 256) {
            buffer.assign(nLength + 1, '\0');
            nLength = GetShortPathNameA(strPath.c_str(), buffer.data(), nLength + 1);
        }
        strShortPath.assign(buffer.c_str());
    } catch (...) {
        ReportException("CMainFrame::GetShortPath");
    }
}
