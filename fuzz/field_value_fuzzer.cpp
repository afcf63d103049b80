// Any text as FIELD=VALUE and as the value of every field: reading never fails other than by
// its outcome, what a field shows reads back, and a frame build on the result completes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "model/config_codec.h"
#include "model/windowless_codec_host.h"
#include "station/setting_values.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ConfigSettings settings(0);

    if (const auto assignment = ParseAssignment(text)) {
        if (assignment->first.empty()) {
            __builtin_trap();
        }
        if (const SettingField* field = FindSettingField(assignment->first)) {
            static_cast<void>(SetFieldFromText(settings, *field, assignment->second));
        }
    }

    for (const SettingField& field : SettingFields()) {
        if (SetFieldFromText(settings, field, text) != SetFieldOutcome::Set) {
            continue;
        }
        const std::string shown = FieldValueText(GetFieldValue(settings, field));
        ConfigSettings other(0);
        other.m_nPowerMaxDbm = settings.m_nPowerMaxDbm;
        if (SetFieldFromText(other, field, shown) != SetFieldOutcome::Set ||
            FieldValueText(GetFieldValue(other, field)) != shown) {
            __builtin_trap();
        }
    }

    WindowlessCodecHost host;
    ConfigFrame frame{};
    ConfigCodec(settings, host).EncodeFrame(frame, FrameBuildOptions{});
    return 0;
}
