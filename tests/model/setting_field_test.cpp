#include "model/setting_field.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "model/plain_fields.h"

namespace {

TEST(SettingFields, NamesAndMembersAreUniqueAndEveryNameIsFound) {
    std::set<std::string_view> names;
    for (const SettingField& field : SettingFields()) {
        EXPECT_TRUE(names.insert(field.name).second) << field.name;
        EXPECT_EQ(FindSettingField(field.name), &field);
        for (const SettingField& other : SettingFields()) {
            EXPECT_TRUE(&other == &field || other.member != field.member) << field.name;
        }
    }
    EXPECT_EQ(SettingFields().size(), 55u);  // every setting the window binds
    EXPECT_EQ(FindSettingField("no_such_field"), nullptr);
    EXPECT_EQ(FindSettingField(""), nullptr);
}

TEST(SettingFields, ListsBelongToListSettingsAlone) {
    const ConfigSettings settings(0);
    for (const SettingField& field : SettingFields()) {
        const bool isList = field.kind == SettingKind::List;
        EXPECT_EQ(isList, field.list != SettingList::None) << field.name;
        EXPECT_EQ(isList, !SettingListItems(field.list, settings).empty()) << field.name;
    }
}

TEST(SettingFields, EachKindNamesAMemberOfItsType) {
    for (const SettingField& field : SettingFields()) {
        switch (field.kind) {
            case SettingKind::Integer:
            case SettingKind::List:
                EXPECT_TRUE(std::holds_alternative<int ConfigSettings::*>(field.member))
                    << field.name;
                break;
            case SettingKind::Check:
                EXPECT_TRUE(std::holds_alternative<bool ConfigSettings::*>(field.member))
                    << field.name;
                break;
            case SettingKind::Real:
                EXPECT_TRUE(std::holds_alternative<double ConfigSettings::*>(field.member))
                    << field.name;
                break;
            case SettingKind::HexText:
            case SettingKind::Mac:
            case SettingKind::Identity:
                EXPECT_TRUE(std::holds_alternative<std::string ConfigSettings::*>(field.member))
                    << field.name;
                break;
        }
    }
}

TEST(SettingFields, EveryPlainFieldIsASetting) {
    for (const PlainField& plain : PlainFields()) {
        const SettingMember member =
            std::visit([](auto m) { return SettingMember(m); }, plain.member);
        EXPECT_EQ(SettingOfMember(member).member, member);
    }
}

// The build checks every number it encodes, and nothing else.
TEST(SettingFields, NumbersAndOnlyNumbersHaveARange) {
    const ConfigSettings settings(0);
    for (const SettingField& field : SettingFields()) {
        const bool number = field.kind == SettingKind::Integer || field.kind == SettingKind::Real;
        const auto bounds = BoundsOf(field, settings);
        EXPECT_EQ(bounds.has_value(), number) << field.name;
        if (bounds) {
            EXPECT_LE(bounds->low, bounds->high) << field.name;
        }
    }
}

TEST(SettingLists, RfPowerItemsFollowThePowerClass) {
    ConfigSettings settings(0);
    EXPECT_EQ(SettingListItems(SettingList::RfPower, settings)[0], "+10dBm");
    settings.m_nPowerMaxDbm = 20;
    EXPECT_EQ(SettingListItems(SettingList::RfPower, settings)[0], "+20dBm");
}

}  // namespace
