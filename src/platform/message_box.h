#ifndef QUILLON_PLATFORM_MESSAGE_BOX_H
#define QUILLON_PLATFORM_MESSAGE_BOX_H

#include <windows.h>

#include <string>

// The application title: the caption of every message box.
extern const char* const kAppTitle;

// Shows a message box captioned with the application title. It is owned by
// the active window of the calling thread, or by the application's main
// window when the thread has none (a worker thread). A box that names no
// icon gets the warning icon.
int AppMessageBox(const std::string& strText, UINT nType = MB_OK);

// The common exception report: an information box naming the function in
// which something was thrown.
void ReportException(const char* pszFunctionName);

#endif
