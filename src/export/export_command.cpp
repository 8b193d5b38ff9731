#include "app/main_frame.h"

// Tool > Export Changes. Not built yet: until it is, the command does
// nothing.
void CMainFrame::OnCommit() {}
