#include "resources/string_table.h"

#include <array>
#include <utility>

namespace {

constexpr std::array<std::pair<unsigned, std::string_view>, 3> kStrings{{
    {IDS_ABOUTBOX, "About Lumivaro Configure Tool (&A)..."},
    {AFX_IDP_PARSE_INT, "\u8bf7\u8f93\u5165\u4e00\u4e2a\u6574\u6570\u3002"},  // 请输入一个整数。
    {AFX_IDP_PARSE_REAL, "\u8bf7\u8f93\u5165\u4e00\u4e2a\u6570\u5b57\u3002"},  // 请输入一个数字。
}};

}  // namespace

std::string_view LoadResourceString(unsigned id) {
    for (const auto& [stringId, text] : kStrings) {
        if (stringId == id) {
            return text;
        }
    }
    return {};
}
