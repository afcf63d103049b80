#pragma once

#include "model/codec_host.h"
#include "model/config_frame.h"
#include "model/config_settings.h"
#include "model/plain_fields.h"

// The conversion between the settings record and a configuration frame, with the range checks
// and the data-rate defaults it runs on the way. It acts on the record it is given and asks the
// host window for exchanges, warning boxes and the RF Power list.
class ConfigCodec {
  public:
    ConfigCodec(ConfigSettings& settings, CodecHost& host) : m_s(settings), m_host(host) {}

    // Save exchange, then every group in order: MAC, network, frequency, UART, command strings,
    // timing. The frame is always the working frame.
    void EncodeFrame(ConfigFrame& frame);
    // Every group in order (identity first: it sets the crystal), then the load exchange.
    void DecodeFrame(const ConfigFrame& frame);

    void EncodeMac(ConfigFrame& frame);
    void EncodeNetworkGroup(ConfigFrame& frame);
    void EncodeFrequency(ConfigFrame& frame);
    void EncodeUartGroup(ConfigFrame& frame);
    void EncodeCommandStrings(ConfigFrame& frame);
    void EncodeTimingGroup(ConfigFrame& frame);

    void DecodeIdentity(const ConfigFrame& frame);
    void DecodeNetworkGroup(const ConfigFrame& frame);
    void DecodeFrequency(const ConfigFrame& frame);
    void DecodeUartGroup(const ConfigFrame& frame);
    void DecodeCommandStrings(const ConfigFrame& frame);
    void DecodeTimingGroup(const ConfigFrame& frame);

    // Selection-change handlers of the RF Baud Def and RF Baud Max lists.
    void ApplyRfBaudDefaults();
    void ApplyRfBaudMaxDefaults();

    // Range checks: a value past a bound is reported in a warning box and set to that bound.
    void ClampInt(int& value, int low, int high, const char* name, const char* unit);
    void ClampDouble(double& value, double low, double high, const char* name, const char* unit);
    // The range checks of a group's plain fields, in the order of the plain field table.
    void ClampPlainFields(PlainGroup group);

  private:
    ConfigSettings& m_s;
    CodecHost& m_host;
};
