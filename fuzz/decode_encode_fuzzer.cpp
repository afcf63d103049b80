// Any frame decoded into the settings and built again, through a window stand-in that copies
// values between controls and settings: nothing reads or writes out of bounds, and the bytes a
// build never writes stay as the module sent them.
#include <algorithm>
#include <cstddef>
#include <cstdint>

#include "model/config_codec.h"
#include "tests/model/fake_codec_host.h"

namespace {

bool SameRange(const ConfigFrame& a, const ConfigFrame& b, std::size_t first, std::size_t end) {
    return std::equal(a.begin() + first, a.begin() + end, b.begin() + first);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    ConfigFrame frame{};
    std::copy(data, data + std::min(size, kFrameSize), frame.begin());
    const std::uint8_t flags = size > kFrameSize ? data[kFrameSize] : 0;

    ConfigSettings settings(0);
    FakeCodecHost host(settings);
    ConfigCodec codec(settings, host);
    const FrameBuildOptions options{
        .advancedShown = (flags & 1) != 0,
        .purpose = (flags & 2) != 0 ? BuildPurpose::WriteOrSave : BuildPurpose::Apply};

    codec.DecodeFrame(frame);
    ConfigFrame built = frame;
    codec.EncodeFrame(built, options);

    namespace fo = FrameOffset;
    if (!SameRange(frame, built, 0, fo::kMac) || !SameRange(frame, built, 301, kFrameSize) ||
        (frame[fo::kFlipActPin] & 0xFE) != (built[fo::kFlipActPin] & 0xFE) ||
        built[fo::kTimingConstant] != 6) {
        __builtin_trap();
    }
    for (std::size_t area = 0; area < 4; ++area) {
        const std::size_t count = built[fo::kHandshakeAckCount + area];
        const std::size_t start = fo::kHandshakeAck + area * fo::kCommandLength;
        if (count > fo::kCommandLength ||
            !SameRange(frame, built, start + count, start + fo::kCommandLength)) {
            __builtin_trap();
        }
    }
    for (const auto& warning : host.warnings) {
        if (warning.size() >= kWarningTextSize) {
            __builtin_trap();
        }
    }

    // With the panel shown a build changes no control, so a second build gives the same frame.
    // (Hidden, the first build shows the channel plan, which the second one encodes.)
    ConfigFrame rebuilt = built;
    codec.EncodeFrame(rebuilt, options);
    if (options.advancedShown && rebuilt != built) {
        __builtin_trap();
    }
    return 0;
}
