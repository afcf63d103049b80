#pragma once

#include <string>
#include <vector>

#include "model/config_frame.h"
#include "station/setting_values.h"

// One entry of a frame's listing: an identity key ("name", "version", "type", "rf_freq_band",
// "rf_power_max", "mac") or a setting's field name, with the value the window shows for it.
struct ListedValue {
    std::string key;
    FieldValue value;
};

// The module identity of a frame and every setting, in the order of the settings table,
// decoded as the window's Open or Read decodes it. The MAC is listed once, in the identity, as
// "4C:56:00:00:00:01".
struct FrameListing {
    std::vector<ListedValue> identity;
    std::vector<ListedValue> fields;
};
[[nodiscard]] FrameListing ListFrame(const ConfigFrame& frame);

struct ValueDifference {
    std::string key;
    FieldValue a;
    FieldValue b;
};

// The entries of the two listings that differ, identity first, in listing order.
[[nodiscard]] std::vector<ValueDifference> DifferingValues(const ConfigFrame& a,
                                                           const ConfigFrame& b);

// Names what differs in bytes 4-515 of two frames, for people: the keys of the differing
// entries ("network_id, start_freq_mhz"), or, when the difference lies in bytes no setting
// shows, the byte offsets ("bytes 120-121"). Empty when the blocks are the same.
[[nodiscard]] std::string DescribeBlockDifference(const ConfigFrame& sent,
                                                  const ConfigFrame& readBack);
