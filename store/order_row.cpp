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
