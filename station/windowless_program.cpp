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
        m_port.device = opening.device;
        m_port.outcome = opening.outcome;
        m_port.error = opening.error;
        if (!opening.Opened()) {
            m_port.detail = PortFailureDetail(opening);
        }
    }

  private:
    PortFailure& m_port;
};

// A job's build: the settings through the codec with a windowless host, with the job's MAC or
// the module's own; and its progress for whoever watches.
class JobSteps : public PortRecordingSteps {
  public:
    JobSteps(ModuleJob& job, ModuleJobResult& result)
        : PortRecordingSteps(result.port), m_job(job), m_result(result) {}

    void BuildFrame(ConfigFrame& frame) override {
        const MacAddress mac = m_job.mac ? *m_job.mac : MacOfFrame(m_result.moduleFrame);
        m_job.settings.m_strMac = MacHexText(mac);
        WindowlessCodecHost host;
        ConfigCodec(m_job.settings, host).EncodeFrame(frame, FrameBuildOptions{});
        m_result.warnings = host.Warnings();
    }

    void Writing() override { Progress(ProgramStage::Writing); }
    void Verifying() override { Progress(ProgramStage::Verifying); }

  private:
    void Progress(ProgramStage stage) {
        if (m_job.progress) {
            m_job.progress(stage);
        }
    }

    ModuleJob& m_job;
    ModuleJobResult& m_result;
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

void BuildSealedFrame(ConfigSettings& settings, ConfigFrame& frame, FrameBuildOptions options,
                      std::vector<std::string>& warnings) {
    WindowlessCodecHost host;
    ConfigCodec(settings, host).EncodeFrame(frame, options);
    SealFrame(frame);
    const auto& collected = host.Warnings();
    warnings.insert(warnings.end(), collected.begin(), collected.end());
}

ModuleJobResult ProgramModuleWindowless(ModuleJob job, const AnnouncedPorts& announced) {
    ModuleJobResult result;
    JobSteps steps(job, result);
    const PortOpener open = [&] { return OpenModulePort(job.portText, announced); };
    if (job.progress) {
        job.progress(ProgramStage::Reading);
    }
    // The window's working frame as it starts: the module's identity goes over it.
    MakeDefaultWorkFrame(result.sent);
    result.outcome = ProgramModule(open, result.moduleFrame, result.sent, steps,
                                   ProgramOptions{job.verify}, &result.report);
    return result;
}

ModuleReadResult ReadModuleWindowless(const std::string& portText,
                                      const AnnouncedPorts& announced) {
    ModuleReadResult result;
    PortRecordingSteps steps(result.port);
    const PortOpener open = [&] { return OpenModulePort(portText, announced); };
    result.outcome = ReadModule(open, result.frame, steps);
    return result;
}
