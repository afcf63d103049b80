#pragma once

#include <cstddef>
#include <functional>
#include <span>
#include <string>
#include <variant>
#include <vector>

#include "model/codec_host.h"
#include "model/codec_tables.h"
#include "model/config_settings.h"
#include "model/setting_field.h"

// A window for the codec without a window. `controls` is what the dialog's controls show: the
// save exchange copies the bound members from it into the settings and the load exchange
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

    void ShowWarningBox(const std::string& text) override {
        warnings.push_back(text);
        if (onWarning) {
            onWarning(text.c_str());
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
    // When not 0, a save exchange stops before binding number n (1 for the first setting of the
    // field table), as at a control whose text does not parse, and reports failure.
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

    // In the window's binding order, as the field table gives it.
    void ExchangeAll() {
        for (const SettingField& field : SettingFields()) {
            if (field.kind == SettingKind::List) {
                const std::size_t length = field.list == SettingList::RfPower
                                               ? rfPowerItems.size()
                                               : SettingListItems(field.list, 10).size();
                List(std::get<int ConfigSettings::*>(field.member), length);
            } else {
                std::visit([this](auto member) { Field(member); }, field.member);
            }
        }
    }

    ConfigSettings& m_settings;
    bool m_save = false;
    bool m_failed = false;
    int m_binding = 0;
};
