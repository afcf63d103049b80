#pragma once

#include "ui/framework/cwinapp.h"

// The application: it runs the main dialog modally once and then ends. No document, no main
// frame, no command line, no saved preferences.
class CLVCfgApp : public CWinApp {
  public:
    CLVCfgApp();
    ~CLVCfgApp() override;

    bool InitInstance() override;
};

// The one application object of the process.
extern CLVCfgApp theApp;
