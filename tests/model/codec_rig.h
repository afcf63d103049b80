#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "fake_codec_host.h"
#include "model/config_codec.h"
#include "model/config_frame.h"
#include "model/config_settings.h"
#include "model/frame_bytes.h"

// A settings record, its fake window and a codec over them, with a blank frame to work on.
struct CodecRig {
    ConfigSettings settings{0};
    FakeCodecHost host{settings};
    ConfigCodec codec{settings, host};
    ConfigFrame frame{};
    // As the window builds for Apply with its advanced panel hidden.
    FrameBuildOptions options{.purpose = BuildPurpose::Apply};

    // The frame of a 26 MHz, 10 dBm module with the magic and an identity.
    static ConfigFrame ModuleFrame(char crystal = '6', char powerClass = '1') {
        ConfigFrame f{};
        const std::string name = "Lumivaro KTR5520Q";
        std::copy(name.begin(), name.end(), f.begin() + FrameOffset::kName);
        f[FrameOffset::kType] = 'N';
        f[FrameOffset::kPowerClass] = static_cast<std::uint8_t>(powerClass);
        f[FrameOffset::kBandDigit2] = '3';
        f[FrameOffset::kBandDigit3] = '3';
        f[FrameOffset::kCrystal] = static_cast<std::uint8_t>(crystal);
        f[FrameOffset::kVersionMinor] = 6;
        f[FrameOffset::kVersionMajor] = 1;
        return f;
    }

    // Sets the crystal the way a decoded frame does.
    void UseCrystal(char crystal) {
        frame = ModuleFrame(crystal);
        codec.DecodeIdentity(frame);
    }

    void ShowAdvanced() { options.advancedShown = true; }

    // Settings that pass every range check with the advanced panel shown.
    void TypeValidTimings() {
        host.controls.m_nBackoffTick = 108;
        host.controls.m_dCcaThreshold = -74.0;
        host.controls.m_nCompensationUnit = 200;
        host.controls.m_nAutoSleepTimeout = 2000;
        host.controls.m_nTimeoutUp = 3000;
        host.controls.m_nTimeoutDown = 3000;
        host.controls.m_nSyncDuration = 25;
        host.controls.m_nAutoWakeSlot = 15;
        host.controls.m_nBeaconDuration = 35;
    }

    [[nodiscard]] std::uint16_t U16(std::size_t offset) const { return GetU16(frame, offset); }
};
