#include "station/windowless_program.h"

#include "link/announced_ports.h"
#include "model/config_codec.h"
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
    ConfigSettings facts(0);
    WindowlessCodecHost host;
    ConfigCodec(facts, host).DecodeIdentity(frame);
    return {ModuleNameText(frame), facts.m_strVersion,  facts.m_strType,
            facts.m_strFreqBand,   facts.m_strPowerMax, MacOfFrame(frame)};
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
    settings.m_bBuildingFrame = 1;
    ConfigCodec(settings, host).EncodeFrame(frame);
    settings.m_bBuildingFrame = 0;
    const auto& collected = host.Warnings();
    warnings.insert(warnings.end(), collected.begin(), collected.end());
}

void BuildSealedFrame(ConfigSettings& settings, std::vector<std::string>& warnings) {
    WindowlessCodecHost host;
    settings.m_bBuildingFrame = 1;
    ConfigCodec(settings, host).EncodeFrame(settings.m_workFrame);
    settings.m_bBuildingFrame = 0;
    SealFrame(settings.m_workFrame);
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
