// The field names are kept in the model, which knows nothing of the window's template; here
// each is derived from the template's label by the naming rule and compared.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <string>
#include <vector>

#include "model/setting_field.h"
#include "resources/main_dialog_template.h"

namespace {

constexpr int kAutoConfigId = 1000;  // a mode of the window, not a setting
constexpr int kStatusLineId = 1001;

// Lower case, each run of other characters one underscore, none at either end.
std::string NameFromLabel(std::string_view label) {
    std::string name;
    bool pendingUnderscore = false;
    for (const char c : label) {
        const auto u = static_cast<unsigned char>(c);
        if (std::isalnum(u) != 0) {
            if (pendingUnderscore && !name.empty()) {
                name += '_';
            }
            pendingUnderscore = false;
            name += static_cast<char>(std::tolower(u));
        } else {
            pendingUnderscore = true;
        }
    }
    return name;
}

struct BoundControl {
    int id;
    std::string_view label;
};

// Every control that shows a setting, with the label that names it: a check box its own
// caption, any other control the label standing before it in the template.
std::vector<BoundControl> BoundControls() {
    std::vector<BoundControl> controls;
    const auto items = MainDialogTemplate().items;
    for (std::size_t i = 1; i < items.size(); ++i) {
        const DialogItem& item = items[i];
        switch (item.kind) {
            case ItemKind::CheckBox:
                if (item.id != kAutoConfigId) {
                    controls.push_back({item.id, item.text});
                }
                break;
            case ItemKind::Edit:
            case ItemKind::ReadOnlyEdit:
            case ItemKind::DropDownList:
                if (item.id != kStatusLineId) {
                    controls.push_back({item.id, items[i - 1].text});
                }
                break;
            default:
                break;
        }
    }
    return controls;
}

TEST(SettingFieldNames, EachIsItsTemplateLabelByTheNamingRule) {
    const std::vector<BoundControl> controls = BoundControls();
    ASSERT_EQ(controls.size(), SettingFields().size());
    for (const BoundControl& control : controls) {
        const std::string name = NameFromLabel(control.label);
        const SettingField* field = FindSettingField(name);
        ASSERT_NE(field, nullptr) << control.label;
        EXPECT_EQ(field->label, control.label);
    }
}

TEST(SettingFieldNames, TheRuleGivesTheDocumentedNames) {
    EXPECT_EQ(NameFromLabel("Network ID:"), "network_id");
    EXPECT_EQ(NameFromLabel("Start Freq(MHz):"), "start_freq_mhz");
    EXPECT_EQ(NameFromLabel("UART Baud(bps):"), "uart_baud_bps");
    EXPECT_EQ(NameFromLabel("MAC:"), "mac");
}

TEST(SettingFieldNames, ListsHoldTheItemsTheWindowIsFilledWith) {
    const ConfigSettings settings(0);  // a 10 dBm module, as the window starts
    for (const BoundControl& control : BoundControls()) {
        const SettingField* field = FindSettingField(NameFromLabel(control.label));
        ASSERT_NE(field, nullptr);
        const auto lists = MainDialogLists();
        const auto list = std::find_if(lists.begin(), lists.end(),
                                       [&](const InitialList& l) { return l.id == control.id; });
        if (list == lists.end()) {
            EXPECT_NE(field->kind, SettingKind::List) << field->name;
            continue;
        }
        const auto items = SettingListItems(field->list, settings);
        EXPECT_TRUE(std::equal(items.begin(), items.end(), list->items.begin(), list->items.end()))
            << field->name;
    }
}

}  // namespace
