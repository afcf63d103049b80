#pragma once

#include <span>

// What the codec needs from the window it works for: the control exchange, the warning box of
// a range adjustment, and the RF Power list refilled for a module's power class. The main
// dialog implements it; tests fake it with a "controls" copy of the settings.
class CodecHost {
  public:
    virtual ~CodecHost() = default;

    // true: controls to settings (may stop at an unparsable control and return false);
    // false: settings to controls (always completes).
    virtual bool UpdateData(bool saveAndValidate) = 0;

    // A modal warning box (caption "Lumivaro Configure Tool", type 0x30) with `text`.
    // `text` lives in the shared scratch buffer, which a command run while the box is open (a
    // module arriving in Auto Config mode) may overwrite: copy it before the box runs its loop.
    virtual void ShowWarningBox(const char* text) = 0;

    // Empties the RF Power list (control 1024) and appends `items` in order.
    virtual void FillRfPowerList(std::span<const char* const> items) = 0;
};
