#pragma once

#include "ui/framework/dialog_template.h"

inline constexpr int IDD_ABOUTBOX = 100;

// The About box: icon, version, OK as the default button, the product line and an empty label.
[[nodiscard]] const DialogTemplate& AboutDialogTemplate();
