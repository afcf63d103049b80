#pragma once

#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "model/control_ids.h"
#include "tests/support/headless_backend.h"
#include "ui/lvcfg_dlg.h"

// A fixed calendar time: its low 32 bits are 4E 5F 1A 2B.
inline constexpr std::time_t kFixedNow = 0x4E5F1A2B;

// The main window built headlessly and initialised, as after start-up, before its modal loop.
class MainWindow : public ::testing::Test {
  protected:
    void SetUp() override;

    // The text of a control as the user sees it.
    std::string Text(int id) const { return m_window->GetText(id); }
    // Message boxes seen so far.
    const std::vector<MessageBoxRecord>& Boxes() const { return m_backend.MessageBoxes(); }

    HeadlessBackend m_backend;
    CLVCfgDlg m_dlg{m_backend, LVCfgDlgServices{kFixedNow}};
    HeadlessWindow* m_window = nullptr;
};
