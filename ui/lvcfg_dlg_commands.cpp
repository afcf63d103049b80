#include "resources/control_ids.h"
#include "ui/lvcfg_dlg.h"

void CLVCfgDlg::OnApply() {
    // The window then shows the settings exactly as a frame carries them. Nothing is sent or
    // stored, and the build is no Write or Save build, so the building flag stays 0.
    EncodeFrame(m_workFrame);
    DecodeFrame(m_workFrame);
}

void CLVCfgDlg::OnAdvanced() {
    m_bAdvancedShown = m_bAdvancedShown == 0 ? 1 : 0;
    // Always from the rectangle taken at initialisation, never from the current size.
    const int width = m_rcFull.right - m_rcFull.left;
    const int fullHeight = m_rcFull.bottom - m_rcFull.top;
    if (m_bAdvancedShown != 0) {
        SetWindowPos(width, fullHeight);
        SetDlgItemText(IDC_ADVANCED, "Advanced<<");
    } else {
        SetWindowPos(width, fullHeight - kAdvancedPanelHeight);
        SetDlgItemText(IDC_ADVANCED, "Advanced>>");
    }
}

void CLVCfgDlg::OnAutoConfig() {
    // The check box is the first binding, so its new state is read even when a later text
    // fails to parse; the result is therefore not needed.
    UpdateData(true);
    EnableEditing(m_bAutoConfig == 0);
}

void CLVCfgDlg::EnableEditing(bool enable) {
    for (int id = kFirstEditableId; id <= kLastEditableId; ++id) {
        GetDlgItem(id).EnableWindow(enable);
    }
}
