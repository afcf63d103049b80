#include "model/control_ids.h"
#include "ui/framework/dialog_units.h"
#include "ui/lvcfg_dlg.h"

void CLVCfgDlg::OnApply() {
    // The window then shows the settings exactly as a frame carries them. Nothing is sent or
    // stored.
    EncodeFrame(m_workFrame, BuildPurpose::Apply);
    DecodeFrame(m_workFrame);
}

void CLVCfgDlg::OnAdvanced() {
    m_bAdvancedShown = !m_bAdvancedShown;
    // Always from the rectangle taken at initialisation, never from the current size.
    const int width = m_rcFull.Width();
    const int fullHeight = m_rcFull.Height();
    if (m_bAdvancedShown) {
        SetWindowPos(width, fullHeight);
        SetDlgItemText(IDC_ADVANCED, "Advanced<<");
    } else {
        SetWindowPos(width, fullHeight - kAdvancedPanelHeight);
        SetDlgItemText(IDC_ADVANCED, "Advanced>>");
    }
}

void CLVCfgDlg::RevealControl(int id) {
    if (m_bAdvancedShown) {
        return;
    }
    // The shortened window's client area, as initialisation cut it from the template's.
    const DialogTemplate& shown = Template();
    const int width = DialogUnitsToPixels(shown.width);
    const int height = DialogUnitsToPixels(shown.height) - kAdvancedPanelHeight;
    for (const DialogItem& item : shown.items) {
        if (item.id == id && !IsItemInClientArea(item, width, height)) {
            OnAdvanced();
            return;
        }
    }
}

void CLVCfgDlg::OnAutoConfig() {
    // The check box is the first binding, so its new state is read even when a later text
    // fails to parse; the result is therefore not needed.
    UpdateData(true);
    EnableEditing(!m_bAutoConfig);
}

void CLVCfgDlg::EnableEditing(bool enable) {
    for (int id = kFirstEditableId; id <= kLastEditableId; ++id) {
        GetDlgItem(id).EnableWindow(enable);
    }
}
