#pragma once

#include <span>
#include <string>

// What the codec needs from the window it works for: the control exchange, the warning box of
// a range adjustment, and the RF Power list refilled for a module's power class. The main
// window implements it; programs without a window use WindowlessCodecHost.
class CodecHost {
  public:
    virtual ~CodecHost() = default;

    // true: controls to settings (may stop at an unparsable control and return false);
    // false: settings to controls (always completes).
    virtual bool UpdateData(bool saveAndValidate) = 0;

    // A modal warning box (caption "Lumivaro Configure Tool", type 0x30) with `text`.
    virtual void ShowWarningBox(const std::string& text) = 0;

    // Empties the RF Power list (control 1024) and appends `items` in order.
    virtual void FillRfPowerList(std::span<const char* const> items) = 0;
};
