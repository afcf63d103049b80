#include "ui/station/slot_state.h"

QString SlotStateWord(SlotState state) {
    switch (state) {
        case SlotState::Waiting:
            return QStringLiteral("WAITING");
        case SlotState::Reading:
            return QStringLiteral("READING");
        case SlotState::Writing:
            return QStringLiteral("WRITING");
        case SlotState::Verifying:
            return QStringLiteral("VERIFYING");
        case SlotState::Done:
            return QStringLiteral("DONE");
        case SlotState::AlreadyDone:
            return QStringLiteral("ALREADY DONE");
        case SlotState::Failed:
            return QStringLiteral("FAILED");
    }
    return {};
}

// Colours a person tells apart from a step away, and that keep dark text readable.
QColor SlotStateColour(SlotState state) {
    switch (state) {
        case SlotState::Waiting:
            return QColor(0xE4, 0xE7, 0xEB);
        case SlotState::Reading:
        case SlotState::Writing:
        case SlotState::Verifying:
            return QColor(0xFF, 0xD8, 0x6B);
        case SlotState::Done:
            return QColor(0x8F, 0xD9, 0x8F);
        case SlotState::AlreadyDone:
            return QColor(0x9F, 0xC8, 0xE8);
        case SlotState::Failed:
            return QColor(0xF2, 0x8B, 0x82);
    }
    return {};
}

bool SlotStateBusy(SlotState state) {
    return state == SlotState::Reading || state == SlotState::Writing ||
           state == SlotState::Verifying;
}
