#ifndef QUILLON_APP_QUILLON_APP_H
#define QUILLON_APP_QUILLON_APP_H

#include "platform/application.h"

// The application: makes the main frame at start-up and answers the About
// command.
class CQuillonApp : public CApplication {
public:
    ~CQuillonApp() override;
    BOOL InitInstance() override;
    BOOL OnCommand(UINT nId) override;
    void OnAppAbout();
};

#endif
