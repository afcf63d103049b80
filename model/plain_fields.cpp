#include "model/plain_fields.h"

#include <array>

#include "model/frame_bytes.h"

namespace {

namespace fo = FrameOffset;
using S = ConfigSettings;
using G = PlainGroup;
using W = PlainWidth;

constexpr PlainField Checked(int S::*member, G group, std::size_t offset, W width, int low,
                             int high, const char* name, const char* unit = "") {
    return {member, group, offset, width, low, high, name, unit};
}

constexpr PlainField Unchecked(PlainMember member, G group, std::size_t offset) {
    return {member, group, offset, W::U8, 0, 0, nullptr, ""};
}

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
    Checked(&S::m_nSleepWakeRate, G::Network, fo::kSleepWakeRate, W::U16, 0, 2500,
            "Sleep-wake rate"),
    // The ID's low byte and the sync word of its high byte.
    Checked(&S::m_nNetworkId, G::Network, fo::kNetworkIdLow, W::OwnRule, 0, 65535, "Network ID"),
    Checked(&S::m_nMainChannel, G::Network, fo::kMainChannel, W::U8, 0, 255, "Main channel"),
    Checked(&S::m_nAuxStartChannel, G::Network, fo::kAuxStartChannel, W::U8, 0, 255,
            "Auxiliary start channel"),
    Checked(&S::m_nAuxChInterval, G::Network, fo::kAuxChInterval, W::U8, 1, 255,
            "Auxiliary channel interval"),
    Checked(&S::m_nHostBootTime, G::Network, fo::kHostBootTime, W::U16, 1, 65535, "HOST boot time",
            "ms"),
    Checked(&S::m_nResponseTimeout, G::Network, fo::kResponseTimeout, W::U16, 1, 65535,
            "Host response timeout", "ms"),
    Checked(&S::m_nSyncInterval, G::Network, fo::kSyncInterval, W::U16, 0, 65535,
            "Synchronization interval time", "s"),
    Unchecked(&S::m_iRfBaudDef, G::Network, fo::kRfBaudDef),
    Unchecked(&S::m_iRfBaudMax, G::Network, fo::kRfBaudMax),
    Unchecked(&S::m_iRfBaudMin, G::Network, fo::kRfBaudMin),
    Unchecked(&S::m_iRfPower, G::Network, fo::kRfPower),
    Unchecked(&S::m_bRepeat, G::Network, fo::kRepeat),
    Unchecked(&S::m_iDeviceNum, G::Network, fo::kDeviceNum),
    Unchecked(&S::m_bFlowCtrl, G::Network, fo::kFlowCtrl),
    Unchecked(&S::m_bSleep, G::Network, fo::kSleep),

    Checked(&S::m_nFrameStartSync, G::Uart, fo::kFrameStartSync, W::U8, 0, 255,
            "Frame start sync byte"),
    Checked(&S::m_nFrameStopSync, G::Uart, fo::kFrameStopSync, W::U8, 0, 255,
            "Frame stop sync byte"),
    Checked(&S::m_nAddrLength, G::Uart, fo::kAddrLength, W::U8, 1, 16, "Address length"),
    Checked(&S::m_nDownlinkAddrOffset, G::Uart, fo::kDownlinkAddrOffset, W::U8, 0, 255,
            "Downlink address offset"),
    Checked(&S::m_nUplinkAddrOffset, G::Uart, fo::kUplinkAddrOffset, W::U8, 0, 255,
            "Uplink address offset"),
    Checked(&S::m_nBroadcastWildcard, G::Uart, fo::kBroadcastWildcard, W::U8, 0, 255,
            "Broadcast address wildcard"),
    Checked(&S::m_nMulticastWildcard, G::Uart, fo::kMulticastWildcard, W::U8, 0, 255,
            "Multicast address wildcard"),
    // Bits 2-7 of the byte it shares with the ACT pin.
    Checked(&S::m_nUartWakeupBytes, G::Uart, fo::kActPinWakeup, W::OwnRule, 0, 63,
            "UART Wakeup bytes"),
    Checked(&S::m_nFrameLenOffset, G::Uart, fo::kFrameLenOffset, W::U8, 0, 255,
            "Packet length offset"),
    Checked(&S::m_nFrameLenAmendment, G::Uart, fo::kFrameLenAmendment, W::U8, 0, 255,
            "Packet length amendment"),
    Unchecked(&S::m_iFrameMode, G::Uart, fo::kFrameMode),
    Unchecked(&S::m_iFrameEndCheck, G::Uart, fo::kFrameEndCheck),
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
