#pragma once

#include <span>
#include <string>
#include <vector>

#include "model/codec_host.h"

// The codec's host for programs without a window: the settings record is the only copy of the
// values, so the exchanges have nothing to do; each range warning is kept as its exact text, in
// the order the build raised it, for the program to print; the RF Power list is just the items
// last filled.
class WindowlessCodecHost : public CodecHost {
  public:
    WindowlessCodecHost();

    bool UpdateData(bool saveAndValidate) override;
    void ShowWarningBox(const std::string& text) override;
    void FillRfPowerList(std::span<const char* const> items) override;

    [[nodiscard]] const std::vector<std::string>& Warnings() const { return m_warnings; }
    [[nodiscard]] const std::vector<std::string>& RfPowerItems() const { return m_rfPowerItems; }
    void ClearWarnings() { m_warnings.clear(); }

  private:
    std::vector<std::string> m_warnings;
    std::vector<std::string> m_rfPowerItems;
};
