#include "station/windowless_program.h"

#include <utility>

#include "link/announced_ports.h"
#include "model/config_codec.h"
#include "model/identity_text.h"
#include "model/windowless_codec_host.h"

namespace {

// Keeps why a step's port did not open; a windowless exchange has nothing else to say.
class PortRecordingSteps : public ModuleSteps {
  public:
    explicit PortRecordingSteps(PortFailure& port) : m_port(port) {}

    void ModuleRead(const ConfigFrame& /*frame*/) override {}
    void BuildFrame(ConfigFrame& /*frame*/) override {}
    void Failed(ModuleOutcome /*outcome*/, const PortOpening& opening) override {
        m_port = PortFailureOf(opening);
    }

  private:
    PortFailure& m_port;
};

}  // namespace

FrameIdentity IdentityOfFrame(const ConfigFrame& frame) {
    IdentityText text = IdentityTextOf(frame);
    return {std::move(text.name),     std::move(text.version),  std::move(text.type),
            std::move(text.freqBand), std::move(text.powerMax), MacOfFrame(frame)};
}

ConfigSettings SettingsFromFrame(const ConfigFrame& frame) {
    ConfigSettings settings(0);
    WindowlessCodecHost host;
    ConfigCodec(settings, host).DecodeFrame(frame);
    return settings;
}

PortFailure PortFailureOf(const PortOpening& opening) {
    PortFailure failure{opening.device, opening.outcome, opening.error, {}};
    if (!opening.Opened()) {
        failure.detail = PortFailureDetail(opening);
    }
    return failure;
}

void BuildModuleFrame(ConfigSettings& settings, const MacAddress& mac, ConfigFrame& frame,
                      std::vector<std::string>& warnings) {
    settings.m_strMac = MacHexText(mac);
    WindowlessCodecHost host;
    ConfigCodec(settings, host).EncodeFrame(frame, FrameBuildOptions{});
    const auto& collected = host.Warnings();
    warnings.insert(warnings.end(), collected.begin(), collected.end());
}

void BuildSealedFrame(ConfigSettings& settings, ConfigFrame& frame, FrameBuildOptions options,
                      std::vector<std::string>& warnings) {
    WindowlessCodecHost host;
    ConfigCodec(settings, host).EncodeFrame(frame, options);
    SealFrame(frame);
    const auto& collected = host.Warnings();
    warnings.insert(warnings.end(), collected.begin(), collected.end());
}

ModuleReadResult ReadModuleWindowless(const std::string& portText,
                                      const AnnouncedPorts& announced) {
    ModuleReadResult result;
    PortRecordingSteps steps(result.port);
    const PortOpener open = [&] { return OpenModulePort(portText, announced); };
    result.outcome = ReadModule(open, result.frame, steps);
    return result;
}
