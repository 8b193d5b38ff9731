#ifndef QUILLON_EXPORT_SAVE_FILE_DIALOG_H
#define QUILLON_EXPORT_SAVE_FILE_DIALOG_H

#include <windows.h>

#include <string>

// Asks for the name of a registry file to write, starting with strPath as
// the offered name, and puts the chosen path into strPath. False when the
// user cancelled the dialog or it failed.
bool AskForSavePath(HWND hWndOwner, const char* pszTitle, std::string& strPath);

#endif
