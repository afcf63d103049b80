#include "station/frame_listing.h"

#include <algorithm>

#include "model/mac_address.h"
#include "model/setting_field.h"
#include "station/windowless_program.h"

namespace {

// The module's facts and its MAC are listed in the identity, from the frame itself.
bool IsListedField(const SettingField& field) {
    return field.kind != SettingKind::Identity && field.kind != SettingKind::Mac;
}

}  // namespace

FrameListing ListFrame(const ConfigFrame& frame) {
    const FrameIdentity identity = IdentityOfFrame(frame);
    FrameListing listing;
    listing.identity = {
        {"name", identity.name},
        {"version", identity.version},
        {"type", identity.type},
        {"rf_freq_band", identity.rfFreqBand},
        {"rf_power_max", identity.rfPowerMax},
        {"mac", FormatMacAddress(identity.mac)},
    };
    const ConfigSettings settings = SettingsFromFrame(frame);
    for (const SettingField& field : SettingFields()) {
        if (IsListedField(field)) {
            listing.fields.push_back({std::string(field.name), GetFieldValue(settings, field)});
        }
    }
    return listing;
}

namespace {

void AddDifferences(const std::vector<ListedValue>& a, const std::vector<ListedValue>& b,
                    std::vector<ValueDifference>& differences) {
    for (std::size_t i = 0; i < a.size() && i < b.size(); ++i) {
        if (a[i].value != b[i].value) {
            differences.push_back({a[i].key, a[i].value, b[i].value});
        }
    }
}

}  // namespace

std::vector<ValueDifference> DifferingValues(const ConfigFrame& a, const ConfigFrame& b) {
    const FrameListing listA = ListFrame(a);
    const FrameListing listB = ListFrame(b);
    std::vector<ValueDifference> differences;
    AddDifferences(listA.identity, listB.identity, differences);
    AddDifferences(listA.fields, listB.fields, differences);
    return differences;
}

namespace {

std::string DifferingByteRange(const ConfigFrame& a, const ConfigFrame& b) {
    std::size_t first = kFrameSize;
    std::size_t last = 0;
    for (std::size_t i = FrameOffset::kBlock; i < FrameOffset::kCrc; ++i) {
        if (a[i] != b[i]) {
            first = std::min(first, i);
            last = i;
        }
    }
    if (first == kFrameSize) {
        return "";
    }
    if (first == last) {
        return "byte " + std::to_string(first);
    }
    return "bytes " + std::to_string(first) + "-" + std::to_string(last);
}

}  // namespace

std::string DescribeBlockDifference(const ConfigFrame& sent, const ConfigFrame& readBack) {
    std::string named;
    for (const ValueDifference& difference : DifferingValues(sent, readBack)) {
        named += named.empty() ? "" : ", ";
        named += difference.key;
    }
    return named.empty() ? DifferingByteRange(sent, readBack) : named;
}
