#include "station/cfg_load_message.h"

#include "model/config_frame.h"

const char* CfgLoadMessage(CfgLoadOutcome outcome) {
    switch (outcome) {
        case CfgLoadOutcome::TooShort:
            return FrameCheckMessage(FrameCheck::LengthMismatch);
        case CfgLoadOutcome::MagicMismatch:
            return FrameCheckMessage(FrameCheck::MagicMismatch);
        case CfgLoadOutcome::CrcMismatch:
            return FrameCheckMessage(FrameCheck::CrcMismatch);
        case CfgLoadOutcome::NotOpened:
            return kCfgOpenFailed;
        case CfgLoadOutcome::Loaded:
            break;
    }
    return "";
}
