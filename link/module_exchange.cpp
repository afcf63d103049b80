#include "link/module_exchange.h"

#include <algorithm>
#include <array>
#include <span>

#include "link/module_protocol.h"

namespace {

ModuleReadOutcome OutcomeOfCheck(FrameCheck check) {
    switch (check) {
        case FrameCheck::Accepted:
            return ModuleReadOutcome::Read;
        case FrameCheck::LengthMismatch:
            return ModuleReadOutcome::LengthMismatch;
        case FrameCheck::MagicMismatch:
            return ModuleReadOutcome::MagicMismatch;
        case FrameCheck::CrcMismatch:
            return ModuleReadOutcome::CrcMismatch;
    }
    return ModuleReadOutcome::LengthMismatch;
}

}  // namespace

const char* ModuleReadOutcomeName(ModuleReadOutcome outcome) {
    switch (outcome) {
        case ModuleReadOutcome::Read:
            return "Read";
        case ModuleReadOutcome::PortWriteFailed:
            return "PortWriteFailed";
        case ModuleReadOutcome::PortReadFailed:
            return "PortReadFailed";
        case ModuleReadOutcome::NoAnswer:
            return "NoAnswer";
        case ModuleReadOutcome::LengthMismatch:
            return "LengthMismatch";
        case ModuleReadOutcome::MagicMismatch:
            return "MagicMismatch";
        case ModuleReadOutcome::CrcMismatch:
            return "CrcMismatch";
    }
    return "?";
}

const char* ModuleWriteOutcomeName(ModuleWriteOutcome outcome) {
    switch (outcome) {
        case ModuleWriteOutcome::Acknowledged:
            return "Acknowledged";
        case ModuleWriteOutcome::NotSent:
            return "NotSent";
        case ModuleWriteOutcome::PortWriteFailed:
            return "PortWriteFailed";
        case ModuleWriteOutcome::PortReadFailed:
            return "PortReadFailed";
        case ModuleWriteOutcome::NotAcknowledged:
            return "NotAcknowledged";
    }
    return "?";
}

ModuleReadOutcome ReadModuleFrame(SerialSession& session, ConfigFrame& frame,
                                  std::size_t& received) {
    received = 0;
    if (!session.Write(kReadRequest)) {
        return ModuleReadOutcome::PortWriteFailed;
    }
    if (!session.Read(frame, received)) {
        return ModuleReadOutcome::PortReadFailed;
    }
    if (received == 0) {
        return ModuleReadOutcome::NoAnswer;
    }
    return OutcomeOfCheck(CheckFrame(std::span<const std::uint8_t>(frame.data(), received)));
}

ModuleReadOutcome ReadModuleFrame(SerialSession& session, ConfigFrame& frame) {
    std::size_t received = 0;
    return ReadModuleFrame(session, frame, received);
}

ModuleWriteOutcome WriteModuleFrame(SerialSession& session, const ConfigFrame& sealedFrame,
                                    std::chrono::milliseconds ackLimit) {
    std::size_t sent = 0;
    if (!session.Write(sealedFrame, sent)) {
        return sent == 0 ? ModuleWriteOutcome::NotSent : ModuleWriteOutcome::PortWriteFailed;
    }
    if (!session.Drain(ReadLimits::DrainLimit(sealedFrame.size()))) {
        return ModuleWriteOutcome::PortWriteFailed;
    }
    // Only the bytes this read received decide; a fresh buffer holds nothing that could pass
    // for an answer.
    std::array<std::uint8_t, kWriteAnswerLength> answer{};
    std::size_t received = 0;
    if (!session.Read(answer, received, ackLimit)) {
        return ModuleWriteOutcome::PortReadFailed;
    }
    const bool acknowledged =
        received == kAcknowledgement.size() &&
        std::equal(kAcknowledgement.begin(), kAcknowledgement.end(), answer.begin());
    return acknowledged ? ModuleWriteOutcome::Acknowledged : ModuleWriteOutcome::NotAcknowledged;
}
