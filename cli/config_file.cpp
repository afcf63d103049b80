#include "cli/config_file.h"

#include "files/cfg_file_loader.h"
#include "files/cfg_file_saver.h"
#include "station/cfg_load_message.h"

namespace {

struct FileFailure {
    const char* reason;
    const char* message;
};

FileFailure LoadFailure(CfgLoadOutcome outcome) {
    const char* message = CfgLoadMessage(outcome);
    switch (outcome) {
        case CfgLoadOutcome::TooShort:
            return {"file_too_short", message};
        case CfgLoadOutcome::MagicMismatch:
            return {"file_wrong_magic", message};
        case CfgLoadOutcome::CrcMismatch:
            return {"file_crc_error", message};
        case CfgLoadOutcome::NotOpened:
        case CfgLoadOutcome::Loaded:
            break;
    }
    return {"file_not_opened", CfgLoadMessage(CfgLoadOutcome::NotOpened)};
}

void ReportFileFailure(const std::string& path, const FileFailure& failure, Output& out) {
    const JsonObject event{{"event", "failed"},
                           {"file", path},
                           {"reason", failure.reason},
                           {"message", failure.message}};
    out.Failure(event, path + ": " + failure.message);
}

}  // namespace

std::optional<ConfigFrame> LoadConfigReporting(const std::string& path, Output& out) {
    ConfigFrame frame{};
    const CfgLoadOutcome outcome = LoadCfgFile(path, frame);
    if (outcome != CfgLoadOutcome::Loaded) {
        ReportFileFailure(path, LoadFailure(outcome), out);
        return std::nullopt;
    }
    return frame;
}

bool SaveConfigReporting(const std::string& path, const ConfigFrame& sealedFrame, Output& out) {
    switch (SaveCfgFile(path, sealedFrame)) {
        case CfgSaveOutcome::Saved:
            return true;
        case CfgSaveOutcome::NotOpened:
            ReportFileFailure(path, {"file_not_opened", kCfgOpenFailed}, out);
            return false;
        case CfgSaveOutcome::NotWritten:
            break;
    }
    ReportFileFailure(path, {"file_not_written", kCfgWriteFailed}, out);
    return false;
}
