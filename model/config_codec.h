#pragma once

#include <cstddef>

#include "model/codec_host.h"
#include "model/config_frame.h"
#include "model/config_settings.h"
#include "model/plain_fields.h"
#include "model/setting_field.h"

// Why a frame is built: the Write and Save commands (and the programs without a window) build
// a frame that leaves the program and keep the user's auxiliary channel count; Apply builds one
// to show, and the data-rate defaults set that count too.
enum class BuildPurpose { WriteOrSave, Apply };

// What a frame build depends on besides the settings.
struct FrameBuildOptions {
    // The advanced panel is shown: the timing fields are the user's. Hidden, the defaults of the
    // data rates shown replace them.
    bool advancedShown = false;
    BuildPurpose purpose = BuildPurpose::WriteOrSave;
};

// A range warning never runs past the window's 256-byte text.
inline constexpr std::size_t kWarningTextSize = 256;

// The conversion between the settings record and a configuration frame, with the range checks
// and the data-rate defaults it runs on the way. It acts on the record it is given and asks the
// host window for exchanges, warning boxes and the RF Power list.
class ConfigCodec {
  public:
    ConfigCodec(ConfigSettings& settings, CodecHost& host) : m_s(settings), m_host(host) {}

    // Save exchange, then every group in order: MAC, network, frequency, UART, command strings,
    // timing.
    void EncodeFrame(ConfigFrame& frame, FrameBuildOptions options);
    // Every group in order (identity first: it sets the crystal), then the load exchange.
    void DecodeFrame(const ConfigFrame& frame);

    void EncodeMac(ConfigFrame& frame);
    void EncodeNetworkGroup(ConfigFrame& frame);
    void EncodeFrequency(ConfigFrame& frame);
    void EncodeUartGroup(ConfigFrame& frame);
    void EncodeCommandStrings(ConfigFrame& frame);
    void EncodeTimingGroup(ConfigFrame& frame, FrameBuildOptions options);

    void DecodeIdentity(const ConfigFrame& frame);
    void DecodeNetworkGroup(const ConfigFrame& frame);
    void DecodeFrequency(const ConfigFrame& frame);
    void DecodeUartGroup(const ConfigFrame& frame);
    void DecodeCommandStrings(const ConfigFrame& frame);
    void DecodeTimingGroup(const ConfigFrame& frame);

    // Selection-change handlers of the RF Baud Def and RF Baud Max lists. A Write or Save build
    // runs them with `keepAuxChNum`: the channel plan leaves the auxiliary channel count as the
    // user chose it.
    void ApplyRfBaudDefaults(bool keepAuxChNum = false);
    void ApplyRfBaudMaxDefaults(bool keepAuxChNum = false);

    // Range checks: a value past a bound is reported in a warning box and set to that bound.
    void ClampInt(int& value, int low, int high, const char* name, const char* unit);
    void ClampDouble(double& value, double low, double high, const char* name, const char* unit);
    // The range check of a setting with the range and warning of its row in the field table, or
    // with `bounds` computed for this build.
    void ClampSetting(int ConfigSettings::*member);
    void ClampSetting(int ConfigSettings::*member, SettingBounds bounds);
    void ClampSetting(double ConfigSettings::*member);
    // The range checks of a group's plain fields, in the order of the plain field table.
    void ClampPlainFields(PlainGroup group);

  private:
    ConfigSettings& m_s;
    CodecHost& m_host;
};
