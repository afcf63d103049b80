// The manual of lvcfg-cli lists every field that show, diff and set name, with the values it
// takes (as set says them): here that list is made from the field table and compared with the
// page.
#include <gtest/gtest.h>

#include <cctype>
#include <fstream>
#include <sstream>
#include <string>

#include "model/setting_field.h"
#include "station/setting_values.h"

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

std::string ExpectedEntries() {
    std::string page;
    for (const SettingField& field : SettingFields()) {
        std::string values = ValuesTaken(field);
        values.front() =
            static_cast<char>(std::toupper(static_cast<unsigned char>(values.front())));
        page += ".TP\n.B " + std::string(field.name) + "\n" + Groff(values) + ".\n";
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
