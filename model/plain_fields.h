#pragma once

#include <cstddef>
#include <span>
#include <variant>

#include "model/config_frame.h"
#include "model/config_settings.h"

// Where the codec puts the settings whose frame field is simply the member's low 8 or 16 bits,
// read back zero-extended. Their names, controls and ranges are in the setting field table.

// The encoder group a field belongs to: its range check runs among that group's checks.
enum class PlainGroup { Network, Uart };

// How a field reaches the frame: its low byte, its low 16 bits (little-endian), or by a rule of
// its group's own (the table then drives only the range check).
enum class PlainWidth { U8, U16, OwnRule };

// A number, a list position or a check box. A check box byte reads as ticked only when it holds
// 1, as the window shows a box whose value is anything else but 0 or 1 cleared.
using PlainMember = std::variant<int ConfigSettings::*, bool ConfigSettings::*>;

struct PlainField {
    PlainMember member;
    PlainGroup group;
    std::size_t offset;
    PlainWidth width;
};

// Every plain field. Within a group the checked rows stand in the order in which a build warns.
[[nodiscard]] std::span<const PlainField> PlainFields();

// Writes the group's fields that have a width of their own into the frame.
void PutPlainFields(const ConfigSettings& settings, PlainGroup group, ConfigFrame& frame);
// Reads them back.
void GetPlainFields(ConfigSettings& settings, PlainGroup group, const ConfigFrame& frame);
