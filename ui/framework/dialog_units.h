#pragma once

#include "ui/framework/dialog_template.h"

// Dialog units become pixels at 1.5 pixels per unit in both directions: the templates' 9-point
// font at 96 dpi has an average character width of 6 pixels and a height of 12 pixels, and a
// dialog unit is a quarter of the one and an eighth of the other. Halves round up, as the
// window system's own mapping does.
[[nodiscard]] constexpr int DialogUnitsToPixels(int units) {
    return units >= 0 ? (units * 3 + 1) / 2 : -((-units * 3 + 1) / 2);
}

// The pixel size of a template font: its point size at 96 dpi, so that text keeps the
// proportions the dialog units were measured with whatever the screen's logical dpi.
[[nodiscard]] constexpr int FontPointsToPixels(int points) {
    return (points * 96 + 36) / 72;
}

// Whether an item can be seen in a client area of the given pixel size: its top left corner
// lies inside. An item cut off entirely (the advanced strip of a shortened window) is out of
// sight, and a control out of sight takes no focus and no typing.
[[nodiscard]] constexpr bool IsItemInClientArea(const DialogItem& item, int clientWidth,
                                                int clientHeight) {
    return DialogUnitsToPixels(item.x) < clientWidth && DialogUnitsToPixels(item.y) < clientHeight;
}
