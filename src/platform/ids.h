#ifndef QUILLON_PLATFORM_IDS_H
#define QUILLON_PLATFORM_IDS_H

// Numbers that the window layer gives meaning to: standard commands, the
// child windows of a frame, the status bar's key indicators and the strings
// of the idle text and the application title.
#define ID_APP_ABOUT 57664
#define ID_APP_EXIT 57665
#define ID_EDIT_COPY 57634
#define ID_EDIT_CUT 57635
#define ID_EDIT_PASTE 57637
#define ID_EDIT_UNDO 57643
#define ID_NEXT_PANE 57680
#define ID_PREV_PANE 57681
#define ID_VIEW_STATUS_BAR 59393
#define ID_SEPARATOR 0
#define ID_INDICATOR_CAPS 59137
#define ID_INDICATOR_NUM 59138
#define ID_INDICATOR_SCRL 59139

#define AFX_IDW_PANE_FIRST 0xE900
#define AFX_IDW_STATUS_BAR 0xE801

#define AFX_IDS_APP_TITLE 57344
#define AFX_IDS_IDLEMESSAGE 57345

#endif
