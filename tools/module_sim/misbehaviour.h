#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string_view>
#include <vector>

#include "model/config_frame.h"

// Ways a simulated module can answer badly. Each names what happens to the answer it would
// give: the 518-byte frame for "ATR0", "ATOK" for a sealed "ATW0" frame. The frame faults
// (magic, CRC) leave an acknowledgement as it is.
enum class Misbehaviour {
    None,
    Silent,            // no answer at all
    ShortAnswer,       // the answer without its last byte: 517 frame bytes, or "ATO"
    LongAnswer,        // the answer and kExtraAnswerBytes more: 519+ frame bytes, "ATOK..."
    CorruptMagic,      // frame bytes 4-11 changed, CRC made to match, so only the magic fails
    CorruptCrc,        // frame CRC wrong
    CrcHighByteFirst,  // frame CRC stored high byte first (the two bytes differ)
    PauseMidAnswer,    // half the answer, a pause longer than the quiet limit, the rest
    VanishMidAnswer,   // half the answer, then the module is gone: the port hangs up for good
    StoreOther,        // a good write is acknowledged, but a block differing from it is stored
    // Faults of a write alone; a read is answered as ever. Each but RefuseWrite stores the
    // good block written, as a module whose answer goes astray would.
    StoreNoAck,    // stores the block, never answers
    StoreLateAck,  // stores the block, answers "ATOK" after the options' ack delay
    StoreAter,     // stores the block, answers "ATER"
    StoreHangUp,   // stores the block, then hangs up for good without a word
    RefuseWrite,   // keeps its old block, answers "ATER"
};

// Whether a fault is one of a write only (reads are answered as if there were none).
[[nodiscard]] bool WriteOnly(Misbehaviour misbehaviour);

// Bytes appended by LongAnswer. They are no "ATOK" and no frame start.
inline constexpr std::array<std::uint8_t, 6> kExtraAnswerBytes{0xA5, 0x5A, 0xA5, 0x5A, 0x0D, 0x0A};

// The module's answer to an "ATW0" frame whose magic or CRC is wrong; the block is not stored.
inline constexpr std::array<std::uint8_t, 4> kAckRejected{'A', 'T', 'E', 'R'};

// Names for the command line: none, silent, short, long, bad-magic, bad-crc, crc-high-first,
// pause, vanish, store-other, store-no-ack, store-late-ack, store-ater, store-hangup, refuse.
[[nodiscard]] std::string_view MisbehaviourName(Misbehaviour misbehaviour);
[[nodiscard]] std::optional<Misbehaviour> MisbehaviourFromName(std::string_view name);

// The frame answer to "ATR0" with the frame faults applied (not the timing faults).
[[nodiscard]] std::vector<std::uint8_t> ShapeFrameAnswer(const ConfigFrame& stored,
                                                         Misbehaviour misbehaviour);
// What StoreOther keeps of a good written frame: the same frame with the network id changed
// and the CRC made to match, so it still reads back as a good frame, just not the one written.
[[nodiscard]] ConfigFrame StoredInsteadOf(const ConfigFrame& written);
// An acknowledgement with the length faults applied.
[[nodiscard]] std::vector<std::uint8_t> ShapeAckAnswer(std::span<const std::uint8_t> ack,
                                                       Misbehaviour misbehaviour);
