#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <vector>

#include "model/codec_host.h"
#include "model/codec_tables.h"
#include "model/config_settings.h"

// A window for the codec without a window. `controls` is what the dialog's controls show: the
// save exchange copies the 56 bound members from it into the settings and the load exchange
// copies them back, in the dialog's binding order. A list control shows only a position inside
// its list; loading any other position leaves the list without a choice, read back as -1.
// Warning texts and RF Power list fills are recorded in order.
class FakeCodecHost : public CodecHost {
  public:
    explicit FakeCodecHost(ConfigSettings& settings)
        : controls(0), rfPowerItems(Items(RF_POWER_LIST_10DBM)), m_settings(settings) {
        UpdateData(false);  // the window shows the defaults before anything else happens
        loadExchanges = 0;
    }

    bool UpdateData(bool saveAndValidate) override {
        m_save = saveAndValidate;
        m_binding = 0;
        m_failed = false;
        ++(saveAndValidate ? saveExchanges : loadExchanges);
        ExchangeAll();
        return !m_failed;
    }

    void ShowWarningBox(const char* text) override {
        warnings.emplace_back(text);
        if (onWarning) {
            onWarning(text);
        }
    }

    void FillRfPowerList(std::span<const char* const> items) override {
        rfPowerItems.assign(items.begin(), items.end());
        rfPowerFills.push_back(rfPowerItems);
    }

    // The text of the item the RF Power list shows, empty without a choice.
    [[nodiscard]] std::string ShownRfPower() const {
        const int index = controls.m_iRfPower;
        const bool inList = index >= 0 && static_cast<std::size_t>(index) < rfPowerItems.size();
        return inList ? rfPowerItems[static_cast<std::size_t>(index)] : std::string();
    }

    ConfigSettings controls;
    std::vector<std::string> warnings;
    std::vector<std::vector<std::string>> rfPowerFills;
    std::vector<std::string> rfPowerItems;  // the items the RF Power list holds now
    int saveExchanges = 0;
    int loadExchanges = 0;
    // When not 0, a save exchange stops before binding number n (1 to 56), as at a control whose
    // text does not parse, and reports failure.
    int failSaveAtBinding = 0;
    // Runs while a warning box is "open", with its text.
    std::function<void(const char*)> onWarning;

  private:
    template <std::size_t N>
    static std::vector<std::string> Items(const std::array<const char*, N>& list) {
        return std::vector<std::string>(list.begin(), list.end());
    }

    bool NextBinding() {
        ++m_binding;
        if (m_save && m_binding == failSaveAtBinding) {
            m_failed = true;
        }
        return !m_failed;
    }

    template <typename T>
    void Field(T ConfigSettings::*member) {
        if (!NextBinding()) {
            return;
        }
        if (m_save) {
            m_settings.*member = controls.*member;
        } else {
            controls.*member = m_settings.*member;
        }
    }

    void List(int ConfigSettings::*member, std::size_t length) {
        if (!NextBinding()) {
            return;
        }
        if (m_save) {
            m_settings.*member = controls.*member;
        } else {
            const int index = m_settings.*member;
            const bool inList = index >= 0 && static_cast<std::size_t>(index) < length;
            controls.*member = inList ? index : -1;
        }
    }

    void ExchangeAll() {
        using S = ConfigSettings;
        Field(&S::m_bAutoConfig);
        Field(&S::m_bFlowCtrl);
        Field(&S::m_bSleep);
        Field(&S::m_bRepeat);
        Field(&S::m_bFlipActPin);
        Field(&S::m_strName);
        Field(&S::m_strVersion);
        Field(&S::m_strType);
        Field(&S::m_strFreqBand);
        Field(&S::m_strPowerMax);
        Field(&S::m_strMac);
        Field(&S::m_strHandshakeAck);
        Field(&S::m_strBroadcastCmd1);
        Field(&S::m_strBroadcastCmd2);
        Field(&S::m_strHostAddrInquiry);
        Field(&S::m_dStartFreq);
        Field(&S::m_dCcaThreshold);
        Field(&S::m_nMainChannel);
        Field(&S::m_nAuxChInterval);
        Field(&S::m_nAuxStartChannel);
        Field(&S::m_nDownlinkAddrOffset);
        Field(&S::m_nUplinkAddrOffset);
        Field(&S::m_nAddrLength);
        Field(&S::m_nAutoSleepTimeout);
        Field(&S::m_nBeaconDuration);
        Field(&S::m_nCompensationUnit);
        Field(&S::m_nHostBootTime);
        Field(&S::m_nFrameLenAmendment);
        Field(&S::m_nFrameLenOffset);
        Field(&S::m_nNetworkId);
        Field(&S::m_nResponseTimeout);
        Field(&S::m_nTimeoutDown);
        Field(&S::m_nTimeoutUp);
        Field(&S::m_nSyncDuration);
        Field(&S::m_nSleepWakeRate);
        Field(&S::m_nFrameStopSync);
        Field(&S::m_nFrameStartSync);
        Field(&S::m_nBackoffTick);
        Field(&S::m_nAutoWakeSlot);
        Field(&S::m_nBroadcastWildcard);
        Field(&S::m_nMulticastWildcard);
        Field(&S::m_nSyncInterval);
        Field(&S::m_nUartWakeupBytes);
        List(&S::m_iFrameEndCheck, 4);
        List(&S::m_iRfBaudMax, 12);
        List(&S::m_iRfBaudMin, 12);
        List(&S::m_iActPin, 3);
        List(&S::m_iRfBaudDef, 12);
        List(&S::m_iAuxChNum, 5);
        List(&S::m_iRfPower, rfPowerItems.size());
        List(&S::m_iUartBaud, 13);
        List(&S::m_iUartStartBit, 2);
        List(&S::m_iFrameMode, 2);
        List(&S::m_iUartParity, 3);
        List(&S::m_iUartStopBit, 2);
        List(&S::m_iDeviceNum, 3);
    }

    ConfigSettings& m_settings;
    bool m_save = false;
    bool m_failed = false;
    int m_binding = 0;
};
