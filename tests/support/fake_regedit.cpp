// A stand-in for the registry editor, planted by tests where the program
// must never look for the editor. When run, it leaves a mark beside itself
// (its own path and ".ran") holding its command line, and imports nothing.
#include <windows.h>

#include <string>

int main() {
    char szPath[MAX_PATH + 1] = "";
    GetModuleFileNameA(nullptr, szPath, MAX_PATH);
    const std::string strMark = std::string(szPath) + ".ran";
    HANDLE hFile = CreateFileA(strMark.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                               FILE_ATTRIBUTE_NORMAL, nullptr);
    if (hFile == INVALID_HANDLE_VALUE)
        return 1;
    const std::string strCommandLine = GetCommandLineA();
    DWORD nWritten = 0;
    WriteFile(hFile, strCommandLine.data(), static_cast<DWORD>(strCommandLine.size()), &nWritten,
              nullptr);
    CloseHandle(hFile);
    return 0;
}
