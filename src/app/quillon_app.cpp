#include "platform/message_box.h"

#include <windows.h>

// Entry point. The window comes next; until then the program only says that
// it is there.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    AppMessageBox("Quillon searches the registry for a folder path.", MB_OK | MB_ICONINFORMATION);
    return 0;
}
