#include "app/lvcfg_app.h"

#include "app/udev_device_events.h"
#include "ui/lvcfg_dlg.h"

CLVCfgApp theApp;

// No application name: the title, and so the caption of the framework's prompts, is the
// executable's file name.
CLVCfgApp::CLVCfgApp() = default;

CLVCfgApp::~CLVCfgApp() = default;

bool CLVCfgApp::InitInstance() {
    // Neither dialog hosts embedded controls of another component, so there is no container
    // support to switch on here.
    {
        LVCfgDlgServices services;
        services.deviceEvents = UdevDeviceEvents;  // modules arriving on serial ports
        CLVCfgDlg dlg(Backend(), services);
        m_pMainWnd = &dlg;
        dlg.DoModal();  // OK or Cancel: the program ends either way
        m_pMainWnd = nullptr;
    }
    // No loop of the application's own follows: the program ends.
    return false;
}
