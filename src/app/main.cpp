#include "app/quillon_app.h"

#include <windows.h>

// Entry point: the one application object makes the window and runs the
// message loop until the window is gone.
int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    CQuillonApp app;
    if (!app.InitInstance())
        return 0;
    return app.Run();
}
