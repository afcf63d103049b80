#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <set>
#include <string>
#include <vector>

#include "resources/main_dialog_template.h"

namespace {

bool IsLabel(ItemKind kind) {
    return kind == ItemKind::LabelRight || kind == ItemKind::LabelCenter ||
           kind == ItemKind::LabelLeft;
}

std::vector<DialogItem> Controls() {
    std::vector<DialogItem> controls;
    for (const DialogItem& item : MainDialogTemplate().items) {
        if (item.id != kNoId) {
            controls.push_back(item);
        }
    }
    return controls;
}

const DialogItem& ItemWithId(int id) {
    const auto& items = MainDialogTemplate().items;
    return *std::find_if(items.begin(), items.end(),
                         [id](const DialogItem& i) { return i.id == id; });
}

// The closed height of a drop-down; the template gives the opened list's.
constexpr int kClosedDropDownHeight = 12;

int ClosedHeight(const DialogItem& item) {
    const bool dropDown =
        item.kind == ItemKind::DropDownList || item.kind == ItemKind::EditableDropDown;
    return dropDown ? kClosedDropDownHeight : item.height;
}

}  // namespace

TEST(MainDialogTemplate, HasCaptionWithEnDashSizeAndFont) {
    const DialogTemplate& t = MainDialogTemplate();
    EXPECT_EQ(t.id, 102);
    EXPECT_EQ(t.caption, "KTR TOOL \xE2\x80\x93 ORBA III Configuration Software For KTR5520Q");
    EXPECT_EQ(t.width, 397);
    EXPECT_EQ(t.height, 341);
    EXPECT_EQ(t.fontFace, "\xE5\xAE\x8B\xE4\xBD\x93");  // 宋体
    EXPECT_EQ(t.fontPointSize, 9);
    EXPECT_TRUE(t.hasSystemMenu);
}

TEST(MainDialogTemplate, HoldsSixGroupBoxesFiftyTwoLabelsAndSixtyFourControls) {
    int groups = 0;
    int labels = 0;
    int controls = 0;
    for (const DialogItem& item : MainDialogTemplate().items) {
        groups += item.kind == ItemKind::GroupBox;
        labels += IsLabel(item.kind);
        controls += item.id != kNoId;
    }
    EXPECT_EQ(groups, 6);
    EXPECT_EQ(labels, 52);
    EXPECT_EQ(controls, 64);
    EXPECT_EQ(MainDialogTemplate().items.size(), 122u);
}

TEST(MainDialogTemplate, UsesEveryControlIdFrom1000To1063ExactlyOnce) {
    std::multiset<int> ids;
    for (const DialogItem& item : Controls()) {
        ids.insert(item.id);
    }
    for (int id = kFirstControlId; id <= kLastControlId; ++id) {
        EXPECT_EQ(ids.count(id), 1u) << id;
    }
    EXPECT_EQ(ids.size(), 64u);
}

TEST(MainDialogTemplate, OnlyThePortLabelIsCentred) {
    for (const DialogItem& item : MainDialogTemplate().items) {
        if (!IsLabel(item.kind)) {
            continue;
        }
        const ItemKind expected =
            item.text == "ComPort:" ? ItemKind::LabelCenter : ItemKind::LabelRight;
        EXPECT_EQ(item.kind, expected) << item.text;
    }
}

// Each label is emitted right before the control it names, and stands left of it on its row.
TEST(MainDialogTemplate, EveryLabelStandsLeftOfTheControlThatFollowsIt) {
    const auto& items = MainDialogTemplate().items;
    for (std::size_t i = 0; i < items.size(); ++i) {
        if (!IsLabel(items[i].kind)) {
            continue;
        }
        ASSERT_LT(i + 1, items.size());
        const DialogItem& label = items[i];
        const DialogItem& control = items[i + 1];
        ASSERT_NE(control.id, kNoId) << label.text;
        EXPECT_LE(label.x + label.width, control.x + 1) << label.text;
        EXPECT_LT(label.y, control.y + ClosedHeight(control)) << label.text;
        EXPECT_GT(label.y + label.height, control.y) << label.text;
    }
}

TEST(MainDialogTemplate, ButtonsAndCheckBoxesCarryTheirCaptions) {
    const std::map<int, std::string> captions{
        {1009, "Read"},       {1010, "Write"},  {1011, "Open"},        {1012, "Save"},
        {1013, "Advanced>>"}, {1063, "Apply"},  {1000, "Auto Config"}, {1048, "Flow Ctrl"},
        {1049, "Sleep"},      {1050, "Repeat"}, {1051, "Flip ACT Pin"}};
    for (const auto& [id, caption] : captions) {
        const DialogItem& item = ItemWithId(id);
        EXPECT_EQ(item.text, caption);
        const bool checkBox = id == 1000 || (id >= 1048 && id <= 1051);
        const ItemKind expected = checkBox ? ItemKind::CheckBox : ItemKind::PushButton;
        EXPECT_EQ(item.kind, expected) << id;
    }
    EXPECT_EQ(ItemWithId(1001).kind, ItemKind::ReadOnlyEdit);
    EXPECT_EQ(ItemWithId(1008).kind, ItemKind::EditableDropDown);
}

TEST(MainDialogTemplate, EveryItemLiesInsideTheWindow) {
    const DialogTemplate& t = MainDialogTemplate();
    for (const DialogItem& item : t.items) {
        EXPECT_GE(item.x, 0) << item.text << " " << item.id;
        EXPECT_GE(item.y, 0) << item.text << " " << item.id;
        EXPECT_LE(item.x + item.width, t.width) << item.text << " " << item.id;
        EXPECT_LE(item.y + ClosedHeight(item), t.height) << item.text << " " << item.id;
    }
}

// The advanced toggle cuts 93 pixels (62 dialog units at 1.5 pixels each) off the bottom: the
// "Advanced Configuration" box and everything in it lie there, everything else above it.
TEST(MainDialogTemplate, AdvancedPanelFillsTheStripTheToggleCuts) {
    const DialogTemplate& t = MainDialogTemplate();
    const int cutTop = t.height - 62;
    for (const DialogItem& item : t.items) {
        const bool inAdvancedBox = item.y >= 284;
        if (inAdvancedBox) {
            EXPECT_GE(item.y, cutTop) << item.text << " " << item.id;
            EXPECT_LE(item.y + item.height, t.height) << item.text << " " << item.id;
        } else {
            EXPECT_LE(item.y + ClosedHeight(item), cutTop) << item.text << " " << item.id;
        }
    }
}

TEST(MainDialogLists, FourteenListsFilledInOrder) {
    const auto lists = MainDialogLists();
    ASSERT_EQ(lists.size(), 14u);
    std::map<int, std::vector<std::string>> byId;
    for (const InitialList& list : lists) {
        EXPECT_EQ(ItemWithId(list.id).kind == ItemKind::DropDownList ||
                      ItemWithId(list.id).kind == ItemKind::EditableDropDown,
                  true);
        byId[list.id].assign(list.items.begin(), list.items.end());
    }
    ASSERT_EQ(byId[1008].size(), 50u);
    EXPECT_EQ(byId[1008][0], "COM1");
    EXPECT_EQ(byId[1008][8], "COM9");
    EXPECT_EQ(byId[1008][9], "COM10");
    EXPECT_EQ(byId[1008][49], "COM50");
    const std::vector<std::string> bauds{"500kbps",  "250kbps",  "175kbps",  "100kbps",
                                         "76.8kbps", "38.4kbps", "19.2kbps", "9.6kbps",
                                         "7.2kbps",  "4.8kbps",  "2.4kbps",  "1.2kbps"};
    EXPECT_EQ(byId[1015], bauds);
    EXPECT_EQ(byId[1016], bauds);
    EXPECT_EQ(byId[1017], bauds);
    EXPECT_EQ(byId[1022], (std::vector<std::string>{"1", "2", "4", "8", "16"}));
    EXPECT_EQ(byId[1024], (std::vector<std::string>{"+10dBm", "+07dBm", "+05dBm", "+00dBm",
                                                    "-05dBm", "-10dBm", "-15dBm", "-20dBm"}));
    ASSERT_EQ(byId[1029].size(), 13u);
    EXPECT_EQ(byId[1029].front(), "600");
    EXPECT_EQ(byId[1029].back(), "230400");
    EXPECT_EQ(byId[1032], (std::vector<std::string>{"Low", "High"}));
    EXPECT_EQ(byId[1033], (std::vector<std::string>{"None", "Odd", "Even"}));
    EXPECT_EQ(byId[1034], (std::vector<std::string>{"1", "2"}));
    EXPECT_EQ(byId[1031], (std::vector<std::string>{"Binary", "ASCII"}));
    EXPECT_EQ(byId[1014], (std::vector<std::string>{"0", "1", ">=2"}));
    EXPECT_EQ(byId[1052], (std::vector<std::string>{"None", "Start", "End", "Both"}));
    EXPECT_EQ(byId[1025], (std::vector<std::string>{
                              "\xE6\x97\xA0", "\xE5\xA4\x96\xE8\xAE\xBE\xE5\x94\xA4\xE9\x86\x92",
                              "485\xE6\x8E\xA7\xE5\x88\xB6"}));
}
