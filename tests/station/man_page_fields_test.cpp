// The manual of lvcfg-cli lists every field that show, diff and set name, with the values it
// takes: here that list is made from the field table and compared with the page.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>
#include <string>

#include "model/number_text.h"
#include "model/setting_field.h"

namespace {

// groff source for a text: minus signs as \-, anything past ASCII as \[uXXXX].
std::string Groff(std::string_view text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        const auto c = static_cast<unsigned char>(text[i]);
        if (c < 0x80) {
            out += c == '-' ? std::string("\\-") : std::string(1, static_cast<char>(c));
            continue;
        }
        const int length = c >= 0xF0 ? 4 : (c >= 0xE0 ? 3 : 2);
        unsigned code = c & (0x3Fu >> (length - 1));
        for (int k = 1; k < length; ++k) {
            code = code << 6 | (static_cast<unsigned char>(text[++i]) & 0x3Fu);
        }
        char escape[16];
        std::snprintf(escape, sizeof escape, "\\[u%04X]", code);
        out += escape;
    }
    return out;
}

std::string Items(SettingList list, int powerMaxDbm) {
    std::string text;
    for (std::string_view item : SettingListItems(list, powerMaxDbm)) {
        text += (text.empty() ? "" : ", ") + std::string(item);
    }
    return text;
}

std::string Number(double value) {
    return FormatRealText(value);
}

std::string ValuesOf(const SettingField& field) {
    const SettingRange& range = field.range;
    switch (field.kind) {
        case SettingKind::Check:
            return "True or false (or 1 or 0).";
        case SettingKind::Integer:
            if (range.followsBackoffTick) {
                return "A whole number of milliseconds, from one backoff tick (at least 1) to "
                       "65535 backoff ticks.";
            }
            return "A whole number, " + Number(range.low) + " to " + Number(range.high) + ".";
        case SettingKind::Real:
            return "A number, " + Number(range.low) + " to " + Number(range.high) + ".";
        case SettingKind::List:
            if (field.list == SettingList::RfPower) {
                return "For a 10 dBm module one of " + Items(field.list, 10) +
                       "; for a 20 dBm module one of " + Items(field.list, 20) + ".";
            }
            return "One of " + Items(field.list, 10) + ".";
        case SettingKind::Mac:
            return "Six bytes of hex, with colons, blanks or dashes between them or nothing "
                   "(4C:56:00:00:00:01).";
        case SettingKind::HexText:
            return "Bytes as hex text (AA BB 01), at most 48.";
        case SettingKind::Identity:
            break;
    }
    return "The module's own; read only.";
}

std::string ExpectedEntries() {
    std::string page;
    for (const SettingField& field : SettingFields()) {
        page += ".TP\n.B " + std::string(field.name) + "\n" + Groff(ValuesOf(field)) + "\n";
    }
    return page;
}

// The entries of the FIELDS section: from its first .TP up to the next section.
std::string PageEntries() {
    std::ifstream file(LVCFG_CLI_MAN_PAGE);
    std::stringstream content;
    content << file.rdbuf();
    const std::string page = content.str();
    const std::size_t section = page.find("\n.SH FIELDS\n");
    if (section == std::string::npos) {
        return {};
    }
    const std::size_t first = page.find("\n.TP\n", section) + 1;
    const std::size_t end = page.find("\n.SH ", section + 1) + 1;
    return page.substr(first, end - first);
}

TEST(ManPageFields, ListEveryFieldWithTheValuesItTakes) {
    EXPECT_EQ(PageEntries(), ExpectedEntries())
        << "the FIELDS section of " LVCFG_CLI_MAN_PAGE " should read:\n"
        << ExpectedEntries();
}

}  // namespace
