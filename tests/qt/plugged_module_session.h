#pragma once

// The main window with a simulated module on a pseudo-terminal that arrives as a USB-serial
// port: the window is told of ports coming and going by an injector, as udev tells it in the
// program, and a module plugged in as COMn is reported as ttyUSB<n-1> whose device node is the
// module's pseudo-terminal. The port box is as narrow as its template makes it, so the port is
// reached by the name the window gives it, not by the pseudo-terminal's path.

#include <QString>
#include <memory>
#include <string>

#include "link/arrival/injected_device_source.h"
#include "link/arrival/tty_device.h"
#include "main_window_session.h"
#include "tools/module_sim/simulated_module.h"

class PluggedModuleSession : public MainWindowSession {
  protected:
    explicit PluggedModuleSession(SimulatedModuleOptions options = {})
        : MainWindowSession(ServicesFor(*this)), module(options) {}

    void SetUp() override { ASSERT_TRUE(module.Start()); }

    static QString InsertedText(int comNumber) {
        return QStringLiteral("Module is inserted into COM%1").arg(comNumber);
    }
    static QString ExtractedText(int comNumber) {
        return QStringLiteral("Module is extracted from COM%1").arg(comNumber);
    }

    // Reports the module plugged in or pulled out as COMn; the window hears of it once its
    // event loop finds the report waiting.
    bool Plug(int comNumber) { return Report("add", comNumber); }
    bool Unplug(int comNumber) { return Report("remove", comNumber); }

    // Plugs the module in as COMn and lets the window take the report.
    bool PlugAndWait(int comNumber) {
        return Plug(comNumber) && WaitForStatus(InsertedText(comNumber));
    }

    InjectedDeviceSource* injector = nullptr;
    SimulatedModule module;

  private:
    static LVCfgDlgServices ServicesFor(PluggedModuleSession& session) {
        LVCfgDlgServices services;
        services.now = 0x4E5F1A2B;
        services.deviceEvents = [&session]() -> std::unique_ptr<DeviceEventSource> {
            auto source = std::make_unique<InjectedDeviceSource>();
            session.injector = source.get();
            return source;
        };
        return services;
    }

    bool Report(const char* action, int comNumber) {
        return injector != nullptr &&
               injector->Inject(UsbSerialReport(action, "ttyUSB" + std::to_string(comNumber - 1),
                                                module.PortPath()));
    }
};
