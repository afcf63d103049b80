#pragma once

// The main window built headlessly with a simulated module on a real pseudo-terminal, its path
// typed into the port box as a user would.

#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <vector>

#include "link/arrival/injected_device_source.h"
#include "link/serial_session.h"
#include "model/control_ids.h"
#include "tests/support/headless_backend.h"
#include "tests/support/report_texts.h"
#include "tools/module_sim/simulated_module.h"
#include "ui/lvcfg_dlg.h"

namespace module_rig {

using namespace report_text;

// What one control shows: text, check state, selection.
using ControlState = std::tuple<std::string, int, int>;
using WindowState = std::map<int, ControlState>;

// A module that pauses far beyond the quiet limit, answering at once otherwise.
inline SimulatedModuleOptions QuickModule() {
    SimulatedModuleOptions options;
    options.pause = std::chrono::milliseconds(100);
    return options;
}

// A fixed clock, and port arrivals only from the test.
inline LVCfgDlgServices Services() {
    LVCfgDlgServices services;
    services.now = 0x4E5F1A2B;
    services.deviceEvents = [] { return std::make_unique<InjectedDeviceSource>(); };
    return services;
}

class ModuleRig : public ::testing::Test {
  protected:
    void SetUp() override {
        ASSERT_TRUE(m_module.Start());
        ASSERT_TRUE(m_dlg.Create());
        m_window = m_backend.TopWindow();
        ASSERT_NE(m_window, nullptr);
        ASSERT_TRUE(m_window->Type(IDC_COM_PORT, m_module.PortPath()));
    }

    std::string Text(int id) const { return m_window->GetText(id); }
    const std::vector<MessageBoxRecord>& Boxes() const { return m_backend.MessageBoxes(); }

    // Every control but the status line.
    WindowState Snapshot() const {
        WindowState state;
        for (int id : m_window->ControlIds()) {
            if (id != IDC_STATUS) {
                state[id] = {m_window->GetText(id), m_window->GetCheck(id),
                             m_window->GetCurSel(id)};
            }
        }
        return state;
    }

    // true when a session of ours can take the module's port right now.
    bool PortIsFree() const {
        SerialSession probe;
        return probe.Open(m_module.PortPath()) == OpenOutcome::Opened;
    }

    // The only box shown was the error box of a failure report with `text`, and the status line
    // carries it too.
    void ExpectFailureReport(const char* text) const {
        EXPECT_EQ(Text(IDC_STATUS), text);
        ASSERT_EQ(Boxes().size(), 1U);
        EXPECT_EQ(Boxes()[0].text, text);
        EXPECT_EQ(Boxes()[0].caption, kCaption);
        EXPECT_EQ(Boxes()[0].type, MB_ICONERROR);
    }

    void ExpectStatusReportOnly(const char* text) const {
        EXPECT_EQ(Text(IDC_STATUS), text);
        EXPECT_TRUE(Boxes().empty());
    }

    SimulatedModule m_module{QuickModule()};
    HeadlessBackend m_backend;
    CLVCfgDlg m_dlg{m_backend, Services()};
    HeadlessWindow* m_window = nullptr;
};

}  // namespace module_rig
