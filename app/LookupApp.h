// CLookupApp: the application object; starts the skin, runs the lookup dialog, stops the skin.
#pragma once

#include "CWinApp.h"

class CLookupApp : public CWinApp {
public:
    // Runs the lookup dialog as the main window and returns FALSE, so no message loop follows.
    BOOL InitInstance() override;
    // Stops the skin once the dialog is gone; the base's result is the exit code.
    int ExitInstance() override;
};
