// The Open and Save commands: configuration files holding one sealed frame, scrambled.

#include <optional>
#include <string>

#include "files/cfg_file_loader.h"
#include "files/cfg_file_saver.h"
#include "files/file_io.h"
#include "model/config_frame.h"
#include "station/cfg_load_message.h"
#include "ui/lvcfg_dlg.h"

namespace {

// The chooser of both commands: no default extension, "*.cfg" as the name, configuration
// files first. The save variant asks before an existing file is replaced; the open variant
// takes a name that does not exist, which the open then refuses.
FileChooserRequest CfgChooserRequest(bool save) {
    FileChooserRequest request;
    request.save = save;
    request.defaultExtension = "";
    request.initialName = "*.cfg";
    request.filters = {{"Configuration files(*.cfg)", "*.cfg"}, {"All files(*.*)", "*.*"}};
    return request;
}

// The chosen path, or nothing when the user cancelled or chose an empty name.
std::optional<std::string> ChooseCfgFile(const CDialog& dialog, bool save) {
    DialogWindow* window = dialog.Window();
    if (window == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> path = window->ChooseFile(CfgChooserRequest(save));
    if (!path || path->empty()) {
        return std::nullopt;
    }
    return path;
}

FileIo& FileIoOf(FileIo* injected) {
    return injected != nullptr ? *injected : DefaultFileIo();
}

}  // namespace

// The previous file is never emptied: the frame goes into a temporary file beside it, which
// replaces it only once all 518 bytes are on disk. The user sees the same reports in the same
// order as when writing the file in place, and a failed write leaves the old file as it was.
// The working frame stays plain throughout: the file receives a scrambled copy.
void CLVCfgDlg::OnSave() {
    const std::optional<std::string> path = ChooseCfgFile(*this, true);
    if (!path) {
        return;
    }
    CfgFileSaver saver(FileIoOf(m_services.fileIo));
    if (!saver.Open(*path)) {
        m_reports.FailureReport(kCfgOpenFailed);
        return;
    }
    m_reports.StatusReport(kCfgOpened);

    EncodeFrame(m_workFrame, BuildPurpose::WriteOrSave);
    SealFrame(m_workFrame);

    if (saver.Save(m_workFrame)) {
        m_reports.StatusReport(kCfgWritten);
    } else {
        m_reports.FailureReport(kCfgWriteFailed);
    }
}

// Reads into the module frame only; the working frame keeps its content, so a later Save or
// Write keeps the identity of the module last read.
void CLVCfgDlg::OnOpen() {
    const std::optional<std::string> path = ChooseCfgFile(*this, false);
    if (!path) {
        return;
    }
    const CfgLoadOutcome outcome = LoadCfgFile(*path, m_moduleFrame, FileIoOf(m_services.fileIo));
    if (outcome == CfgLoadOutcome::NotOpened) {
        m_reports.FailureReport(kCfgOpenFailed);
        return;
    }
    m_reports.StatusReport(kCfgOpened);
    if (outcome != CfgLoadOutcome::Loaded) {
        m_reports.FailureReport(CfgLoadMessage(outcome));
        return;
    }
    m_reports.StatusReport(kCfgRead);
    DecodeFrame(m_moduleFrame);
}
