#pragma once

#include <span>

#include "model/control_ids.h"
#include "ui/framework/dialog_template.h"

inline constexpr int IDD_LVCFG_DIALOG = 102;

// The first and last control id of the main window; every id in between names a control.
inline constexpr int kFirstControlId = IDC_AUTO_CONFIG;
inline constexpr int kLastControlId = IDC_APPLY;

// The main window: caption, size, font, its 122 items in template order and its 14 lists.
[[nodiscard]] const DialogTemplate& MainDialogTemplate();

// The lists the main window receives when it is created, in the order they are filled.
[[nodiscard]] std::span<const InitialList> MainDialogLists();
