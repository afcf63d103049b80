#include "tools/module_sim/misbehaviour.h"

#include <algorithm>
#include <array>
#include <utility>

namespace {

struct NamedMisbehaviour {
    Misbehaviour misbehaviour;
    std::string_view name;
};

constexpr std::array<NamedMisbehaviour, 15> kNames{{
    {Misbehaviour::None, "none"},
    {Misbehaviour::Silent, "silent"},
    {Misbehaviour::ShortAnswer, "short"},
    {Misbehaviour::LongAnswer, "long"},
    {Misbehaviour::CorruptMagic, "bad-magic"},
    {Misbehaviour::CorruptCrc, "bad-crc"},
    {Misbehaviour::CrcHighByteFirst, "crc-high-first"},
    {Misbehaviour::PauseMidAnswer, "pause"},
    {Misbehaviour::VanishMidAnswer, "vanish"},
    {Misbehaviour::StoreOther, "store-other"},
    {Misbehaviour::StoreNoAck, "store-no-ack"},
    {Misbehaviour::StoreLateAck, "store-late-ack"},
    {Misbehaviour::StoreAter, "store-ater"},
    {Misbehaviour::StoreHangUp, "store-hangup"},
    {Misbehaviour::RefuseWrite, "refuse"},
}};

// A byte of the block that nothing interprets, changed to make the two CRC bytes differ.
constexpr std::size_t kSpareByte = 515;

void StoreCrcHighByteFirst(ConfigFrame& frame) {
    while (frame[FrameOffset::kCrc] == frame[FrameOffset::kCrc + 1]) {
        ++frame[kSpareByte];
        SealFrame(frame);
    }
    std::swap(frame[FrameOffset::kCrc], frame[FrameOffset::kCrc + 1]);
}

void AppendExtra(std::vector<std::uint8_t>& answer) {
    answer.insert(answer.end(), kExtraAnswerBytes.begin(), kExtraAnswerBytes.end());
}

}  // namespace

bool WriteOnly(Misbehaviour misbehaviour) {
    switch (misbehaviour) {
        case Misbehaviour::StoreNoAck:
        case Misbehaviour::StoreLateAck:
        case Misbehaviour::StoreAter:
        case Misbehaviour::StoreHangUp:
        case Misbehaviour::RefuseWrite:
            return true;
        default:
            return false;
    }
}

std::string_view MisbehaviourName(Misbehaviour misbehaviour) {
    for (const auto& entry : kNames) {
        if (entry.misbehaviour == misbehaviour) {
            return entry.name;
        }
    }
    return "?";
}

std::optional<Misbehaviour> MisbehaviourFromName(std::string_view name) {
    for (const auto& entry : kNames) {
        if (entry.name == name) {
            return entry.misbehaviour;
        }
    }
    return std::nullopt;
}

std::vector<std::uint8_t> ShapeFrameAnswer(const ConfigFrame& stored, Misbehaviour misbehaviour) {
    ConfigFrame frame = stored;
    switch (misbehaviour) {
        case Misbehaviour::CorruptMagic:
            frame[FrameOffset::kMagic] ^= 0x20;  // "lumivaro"
            SealFrame(frame);
            // SealFrame wrote "ATW0"; the header stays what the module keeps there.
            std::copy(stored.begin(), stored.begin() + FrameOffset::kBlock, frame.begin());
            break;
        case Misbehaviour::CorruptCrc:
            frame[FrameOffset::kCrc] ^= 0xFF;
            break;
        case Misbehaviour::CrcHighByteFirst:
            StoreCrcHighByteFirst(frame);
            break;
        default:
            break;
    }
    std::vector<std::uint8_t> answer(frame.begin(), frame.end());
    if (misbehaviour == Misbehaviour::ShortAnswer) {
        answer.pop_back();
    } else if (misbehaviour == Misbehaviour::LongAnswer) {
        AppendExtra(answer);
    }
    return answer;
}

ConfigFrame StoredInsteadOf(const ConfigFrame& written) {
    ConfigFrame stored = written;
    stored[FrameOffset::kNetworkIdLow] ^= 0x01;
    SealFrame(stored);
    // SealFrame wrote "ATW0"; the header stays what was written.
    std::copy(written.begin(), written.begin() + FrameOffset::kBlock, stored.begin());
    return stored;
}

std::vector<std::uint8_t> ShapeAckAnswer(std::span<const std::uint8_t> ack,
                                         Misbehaviour misbehaviour) {
    std::vector<std::uint8_t> answer(ack.begin(), ack.end());
    if (misbehaviour == Misbehaviour::ShortAnswer && !answer.empty()) {
        answer.pop_back();
    } else if (misbehaviour == Misbehaviour::LongAnswer) {
        AppendExtra(answer);
    }
    return answer;
}
