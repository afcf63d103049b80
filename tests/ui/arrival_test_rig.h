#pragma once

// The main window built headlessly with its port reports coming from an injector, and simulated
// modules on pseudo-terminals that arrive as USB-serial ports: a module plugged in as COMn is
// reported as ttyUSB<n-1> whose device node is the module's pseudo-terminal.

#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "link/arrival/injected_device_source.h"
#include "link/arrival/tty_device.h"
#include "model/config_frame.h"
#include "model/control_ids.h"
#include "model/hex_text.h"
#include "tests/support/headless_backend.h"
#include "tests/support/report_texts.h"
#include "tools/module_sim/module_identity.h"
#include "tools/module_sim/simulated_module.h"
#include "ui/lvcfg_dlg.h"

namespace arrival_rig {

using namespace report_text;
inline constexpr const char* kStartMac = "4C 56 00 00 10 FE";

using Mac = std::array<std::uint8_t, FrameOffset::kMacLength>;

inline Mac MacOf(const ConfigFrame& frame) {
    Mac mac{};
    std::copy_n(frame.begin() + FrameOffset::kMac, mac.size(), mac.begin());
    return mac;
}

inline Mac MacFromText(const std::string& text) {
    Mac mac{};
    std::uint8_t count = 0;
    HexToBytes(text.c_str(), mac.data(), count, static_cast<std::uint8_t>(mac.size()));
    return mac;
}

inline std::string MacText(const Mac& mac) {
    char text[3 * FrameOffset::kMacLength] = {};
    BytesToHex(text, mac.data(), static_cast<std::uint8_t>(mac.size()));
    return text;
}

// `mac` plus `n` as a 48-bit big-endian number: the simulator's own rule for a set of modules.
using ::MacPlus;

inline bool SameIdentity(const ConfigFrame& a, const ConfigFrame& b) {
    return std::equal(a.begin() + FrameOffset::kName, a.begin() + FrameOffset::kIdentityEnd,
                      b.begin() + FrameOffset::kName);
}

// A module whose identity differs from its neighbours' in every shown fact and whose name
// carries its serial number, so no two modules of a batch share their identity bytes.
inline ConfigFrame NumberedModuleFrame(int serial) {
    ModuleIdentity identity;
    identity.role = serial % 2 == 0 ? ModuleRole::Node : ModuleRole::Root;
    identity.powerDbm = serial % 2 == 0 ? 10 : 20;
    identity.bandMHz = serial % 3 == 0 ? 470 : 433;
    identity.crystalMHz = serial % 4 < 2 ? 26 : 27;
    identity.mac = {0xEE, 0xEE, 0xEE, 0xEE, 0xEE, static_cast<std::uint8_t>(serial)};
    ConfigFrame frame = MakeModuleFrame(identity);
    char name[FrameOffset::kNameLength] = {};
    std::snprintf(name, sizeof name, "%s-%02d", std::string(kSimulatedModuleName).c_str(), serial);
    std::copy(std::begin(name), std::end(name), frame.begin() + FrameOffset::kName);
    SealFrame(frame);
    return frame;
}

class ArrivalRig : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_dlg.Create());
        m_window = m_backend.TopWindow();
        ASSERT_NE(m_window, nullptr);
        ASSERT_NE(m_injector, nullptr);
        ASSERT_TRUE(m_window->Type(IDC_MAC, kStartMac));
    }

    // Starts `count` modules, each with its own numbered identity.
    void StartModules(int count) {
        for (int serial = 0; serial < count; ++serial) {
            auto module = std::make_unique<SimulatedModule>();
            ASSERT_TRUE(module->Start());
            module->SetStoredFrame(NumberedModuleFrame(serial));
            m_modules.push_back(std::move(module));
        }
    }
    SimulatedModule& Module(int serial) { return *m_modules.at(serial); }
    ConfigFrame OwnFrame(int serial) const { return NumberedModuleFrame(serial); }

    // The port reports as the device manager gives them, each handled when the window's event
    // loop finds the descriptor readable.
    void Report(const TtyDeviceReport& report) {
        ASSERT_TRUE(m_injector->Inject(report));
        ASSERT_TRUE(m_window->FireReadable());
    }
    void Plug(int serial, int comNumber) {
        Report(UsbSerialReport("add", KernelName(comNumber), Module(serial).PortPath()));
    }
    void Unplug(int serial, int comNumber) {
        Report(UsbSerialReport("remove", KernelName(comNumber), Module(serial).PortPath()));
    }
    static std::string KernelName(int comNumber) {
        return "ttyUSB" + std::to_string(comNumber - 1);
    }

    void TickAutoConfig() {
        ASSERT_TRUE(m_window->Click(IDC_AUTO_CONFIG));
        ASSERT_EQ(m_dlg.m_bAutoConfig, 1);
    }

    std::string Text(int id) const { return m_window->GetText(id); }
    const std::vector<MessageBoxRecord>& Boxes() const { return m_backend.MessageBoxes(); }

    // The frame module `serial` acknowledged last: its identity and the MAC it was given.
    void ExpectProgrammed(int serial, const Mac& mac) {
        const std::optional<ConfigFrame> written = Module(serial).LastWrittenFrame();
        ASSERT_TRUE(written.has_value()) << "module " << serial;
        EXPECT_TRUE(SameIdentity(*written, OwnFrame(serial))) << "module " << serial;
        EXPECT_EQ(MacOf(*written), mac) << "module " << serial;
        EXPECT_EQ(CheckFrame(*written), FrameCheck::Accepted) << "module " << serial;
    }

    LVCfgDlgServices Services() {
        LVCfgDlgServices services;
        services.now = 0x4E5F1A2B;
        services.deviceEvents = [this]() -> std::unique_ptr<DeviceEventSource> {
            auto source = std::make_unique<InjectedDeviceSource>();
            m_injector = source.get();
            return source;
        };
        return services;
    }

    InjectedDeviceSource* m_injector = nullptr;
    std::vector<std::unique_ptr<SimulatedModule>> m_modules;
    HeadlessBackend m_backend;
    CLVCfgDlg m_dlg{m_backend, Services()};
    HeadlessWindow* m_window = nullptr;
};

}  // namespace arrival_rig
