// The field table names each setting and its control; here each name is derived from the
// template's label of that control by the naming rule and compared.
#include <gtest/gtest.h>

#include <algorithm>
#include <cctype>
#include <set>
#include <string>

#include "model/control_ids.h"
#include "model/setting_field.h"
#include "resources/main_dialog_template.h"

namespace {

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

// The label that names a control of the template: a check box its own caption, any other control
// the label standing before it.
std::string_view LabelOf(int controlId) {
    const auto items = MainDialogTemplate().items;
    for (std::size_t i = 1; i < items.size(); ++i) {
        if (items[i].id == controlId) {
            return items[i].kind == ItemKind::CheckBox ? items[i].text : items[i - 1].text;
        }
    }
    return {};
}

// Every control that shows a value: check boxes, edits and drop-down lists, but for the status
// line, the port box and Auto Config, which is a mode of the window.
std::set<int> ValueControls() {
    std::set<int> ids;
    for (const DialogItem& item : MainDialogTemplate().items) {
        switch (item.kind) {
            case ItemKind::CheckBox:
            case ItemKind::Edit:
            case ItemKind::ReadOnlyEdit:
            case ItemKind::DropDownList:
                ids.insert(item.id);
                break;
            default:
                break;
        }
    }
    ids.erase(IDC_STATUS);
    ids.erase(IDC_AUTO_CONFIG);
    return ids;
}

TEST(SettingFieldNames, EachSettingIsAControlNamedByItsTemplateLabel) {
    std::set<int> controls;
    for (const SettingField& field : SettingFields()) {
        EXPECT_EQ(NameFromLabel(LabelOf(field.controlId)), field.name);
        controls.insert(field.controlId);
    }
    EXPECT_EQ(controls, ValueControls());
}

TEST(SettingFieldNames, TheRuleGivesTheDocumentedNames) {
    EXPECT_EQ(NameFromLabel("Network ID:"), "network_id");
    EXPECT_EQ(NameFromLabel("Start Freq(MHz):"), "start_freq_mhz");
    EXPECT_EQ(NameFromLabel("UART Baud(bps):"), "uart_baud_bps");
    EXPECT_EQ(NameFromLabel("MAC:"), "mac");
}

TEST(SettingFieldNames, ListsHoldTheItemsTheWindowIsFilledWith) {
    const auto lists = MainDialogLists();
    for (const SettingField& field : SettingFields()) {
        const auto list = std::find_if(lists.begin(), lists.end(), [&](const InitialList& l) {
            return l.id == field.controlId;
        });
        if (list == lists.end()) {
            EXPECT_NE(field.kind, SettingKind::List) << field.name;
            continue;
        }
        // A 10 dBm module, as the window starts.
        const auto items = SettingListItems(field.list, 10);
        EXPECT_TRUE(std::equal(items.begin(), items.end(), list->items.begin(), list->items.end()))
            << field.name;
    }
}

}  // namespace
