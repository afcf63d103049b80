#pragma once

#include <QColor>
#include <QMetaType>
#include <QString>

#include "station/module_outcome.h"

// Where the module in one slot stands (SlotState, from the station layer's outcome table).
// Each state has a word and a colour; the word is always shown, so no state is told by colour
// alone.

[[nodiscard]] QString SlotStateWord(SlotState state);
[[nodiscard]] QColor SlotStateColour(SlotState state);
[[nodiscard]] bool SlotStateBusy(SlotState state);

// A slot: a serial port a module is plugged into, named by its stable by-path name where it
// has one, with the device beside it.
struct SlotName {
    QString device;  // "/dev/ttyUSB0"
    QString byPath;  // "pci-0000:00:14.0-usb-0:2:1.0-port0", empty when the port has none
};

// What a tile shows after a change of its module.
struct SlotUpdate {
    QString device;
    SlotState state = SlotState::Waiting;
    QString mac;         // the MAC the module got (or holds, when already done)
    QString statusText;  // for a failure: the outcome's text; already done: when and where
    QString reason;      // for a failure and already done: the reason word
};

Q_DECLARE_METATYPE(SlotName)
Q_DECLARE_METATYPE(SlotUpdate)
