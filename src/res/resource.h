#ifndef QUILLON_RES_RESOURCE_H
#define QUILLON_RES_RESOURCE_H

#include "platform/ids.h"

// Menu, accelerators, title string and icon of the main frame.
#define IDR_MAINFRAME 128
// Status bar panes; their strings (runs of blanks) set the panes' widths.
#define ID_INDICATOR_KEYPATH 129
#define ID_INDICATOR_KEYCOUNT 130
#define IDI_CHECKED 131
#define IDI_UNCHECKED 132
#define IDD_SEARCH_OPTIONS 133
#define IDI_FOLDER 135
#define IDB_NOTICE 143
#define IDD_ABOUTBOX 100

#define IDC_BROWSE_REPLACE_WITH 1001
#define IDC_BROWSE_FIND_WHAT 1002
#define IDC_FIND_WHAT 1003
#define IDC_REPLACE_WITH 1004
#define IDC_NOTICE_PICTURE 1005

#define ID_TOOL_SEARCH 32771
#define ID_EDIT_CHECK 32772
#define ID_EDIT_UNCHECK 32773
#define ID_TOOL_EXPORTCHANGES 32774

#endif
