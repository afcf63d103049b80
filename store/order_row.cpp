#include "store/order_row.h"

const char* OrderStateName(OrderState state) {
    switch (state) {
        case OrderState::Open:
            return "open";
        case OrderState::Complete:
            return "complete";
        case OrderState::Closed:
            return "closed";
    }
    return "unknown";
}

bool IsOrderName(const std::string& name) {
    if (name.empty() || name.size() > kOrderNameMax || name[0] == '-' || name[0] == '.') {
        return false;
    }
    for (const char c : name) {
        const bool plain = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                           (c >= '0' && c <= '9') || c == '.' || c == '_' || c == '-';
        if (!plain) {
            return false;
        }
    }
    return true;
}
