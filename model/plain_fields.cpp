#include "model/plain_fields.h"

#include <array>

#include "model/frame_bytes.h"

namespace {

namespace fo = FrameOffset;
using S = ConfigSettings;
using G = PlainGroup;
using W = PlainWidth;

int ValueOf(const ConfigSettings& settings, const PlainMember& member) {
    return std::visit([&settings](auto m) { return static_cast<int>(settings.*m); }, member);
}

void SetValue(ConfigSettings& settings, const PlainMember& member, int value) {
    if (const auto* number = std::get_if<int S::*>(&member)) {
        settings.*(*number) = value;
    } else {
        settings.*std::get<bool S::*>(member) = value == 1;
    }
}

constexpr std::array kPlainFields{
    PlainField{&S::m_nSleepWakeRate, G::Network, fo::kSleepWakeRate, W::U16},
    // The ID's low byte and the sync word of its high byte.
    PlainField{&S::m_nNetworkId, G::Network, fo::kNetworkIdLow, W::OwnRule},
    PlainField{&S::m_nMainChannel, G::Network, fo::kMainChannel, W::U8},
    PlainField{&S::m_nAuxStartChannel, G::Network, fo::kAuxStartChannel, W::U8},
    PlainField{&S::m_nAuxChInterval, G::Network, fo::kAuxChInterval, W::U8},
    PlainField{&S::m_nHostBootTime, G::Network, fo::kHostBootTime, W::U16},
    PlainField{&S::m_nResponseTimeout, G::Network, fo::kResponseTimeout, W::U16},
    PlainField{&S::m_nSyncInterval, G::Network, fo::kSyncInterval, W::U16},
    PlainField{&S::m_iRfBaudDef, G::Network, fo::kRfBaudDef, W::U8},
    PlainField{&S::m_iRfBaudMax, G::Network, fo::kRfBaudMax, W::U8},
    PlainField{&S::m_iRfBaudMin, G::Network, fo::kRfBaudMin, W::U8},
    PlainField{&S::m_iRfPower, G::Network, fo::kRfPower, W::U8},
    PlainField{&S::m_bRepeat, G::Network, fo::kRepeat, W::U8},
    PlainField{&S::m_iDeviceNum, G::Network, fo::kDeviceNum, W::U8},
    PlainField{&S::m_bFlowCtrl, G::Network, fo::kFlowCtrl, W::U8},
    PlainField{&S::m_bSleep, G::Network, fo::kSleep, W::U8},

    PlainField{&S::m_nFrameStartSync, G::Uart, fo::kFrameStartSync, W::U8},
    PlainField{&S::m_nFrameStopSync, G::Uart, fo::kFrameStopSync, W::U8},
    PlainField{&S::m_nAddrLength, G::Uart, fo::kAddrLength, W::U8},
    PlainField{&S::m_nDownlinkAddrOffset, G::Uart, fo::kDownlinkAddrOffset, W::U8},
    PlainField{&S::m_nUplinkAddrOffset, G::Uart, fo::kUplinkAddrOffset, W::U8},
    PlainField{&S::m_nBroadcastWildcard, G::Uart, fo::kBroadcastWildcard, W::U8},
    PlainField{&S::m_nMulticastWildcard, G::Uart, fo::kMulticastWildcard, W::U8},
    // Bits 2-7 of the byte it shares with the ACT pin.
    PlainField{&S::m_nUartWakeupBytes, G::Uart, fo::kActPinWakeup, W::OwnRule},
    PlainField{&S::m_nFrameLenOffset, G::Uart, fo::kFrameLenOffset, W::U8},
    PlainField{&S::m_nFrameLenAmendment, G::Uart, fo::kFrameLenAmendment, W::U8},
    PlainField{&S::m_iFrameMode, G::Uart, fo::kFrameMode, W::U8},
    PlainField{&S::m_iFrameEndCheck, G::Uart, fo::kFrameEndCheck, W::U8},
};

}  // namespace

std::span<const PlainField> PlainFields() {
    return kPlainFields;
}

void PutPlainFields(const ConfigSettings& settings, PlainGroup group, ConfigFrame& frame) {
    for (const PlainField& field : kPlainFields) {
        if (field.group != group) {
            continue;
        }
        if (field.width == W::U8) {
            PutU8(frame, field.offset, ValueOf(settings, field.member));
        } else if (field.width == W::U16) {
            PutU16(frame, field.offset, ValueOf(settings, field.member));
        }
    }
}

void GetPlainFields(ConfigSettings& settings, PlainGroup group, const ConfigFrame& frame) {
    for (const PlainField& field : kPlainFields) {
        if (field.group != group) {
            continue;
        }
        if (field.width == W::U8) {
            SetValue(settings, field.member, frame[field.offset]);
        } else if (field.width == W::U16) {
            SetValue(settings, field.member, GetU16(frame, field.offset));
        }
    }
}
