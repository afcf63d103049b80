#include "files/cfg_file_loader.h"

#include "files/cfg_file_reader.h"
#include "files/cfg_scramble.h"

namespace {

CfgLoadOutcome CheckLoadedFrame(const ConfigFrame& frame) {
    switch (CheckFrameContent(frame)) {
        case FrameCheck::Accepted:
            return CfgLoadOutcome::Loaded;
        case FrameCheck::CrcMismatch:
            return CfgLoadOutcome::CrcMismatch;
        case FrameCheck::MagicMismatch:
            return CfgLoadOutcome::MagicMismatch;
        case FrameCheck::LengthMismatch:
            break;
    }
    return CfgLoadOutcome::TooShort;
}

}  // namespace

CfgLoadOutcome LoadCfgFile(const std::string& path, ConfigFrame& frame, FileIo& io) {
    CfgFileReader reader(io);
    if (!reader.Open(path)) {
        return CfgLoadOutcome::NotOpened;
    }
    const std::size_t received = reader.Read(frame);
    reader.Close();
    if (received < frame.size()) {
        return CfgLoadOutcome::TooShort;
    }
    ScrambleCfgBytes(frame);
    return CheckLoadedFrame(frame);
}
