#ifndef QUILLON_TESTS_SUPPORT_TEMP_FOLDER_H
#define QUILLON_TESTS_SUPPORT_TEMP_FOLDER_H

#include <windows.h>

#include <string>

// A real folder with a long name (so it has a distinct short form) in the
// temporary folder, removed again at the end of the test.
class CTempFolder {
public:
    explicit CTempFolder(const std::string& strName = "Quillon Long Folder Name") {
        char szTemp[MAX_PATH + 1] = "";
        GetTempPathA(MAX_PATH, szTemp);
        m_strParent = szTemp;
        m_strName = strName;
        CreateDirectoryA(Path().c_str(), nullptr);
    }
    ~CTempFolder() { RemoveDirectoryA(Path().c_str()); }
    CTempFolder(const CTempFolder&) = delete;
    CTempFolder& operator=(const CTempFolder&) = delete;

    std::string Path() const { return m_strParent + m_strName; }
    const std::string& Parent() const { return m_strParent; } // ends with a backslash
    const std::string& Name() const { return m_strName; }

private:
    std::string m_strParent;
    std::string m_strName;
};

#endif
