#pragma once

#include "ui/framework/dialog_template.h"

class QWidget;

// The widget of one template item, placed at its rectangle (1.5 pixels per dialog unit) on
// `parent`. A control keeps its id as the dynamic property "controlId" and the object name
// "ctl<id>". A drop-down keeps the platform's closed height; the template's height sets how
// many items its opened list shows.
QWidget* CreateItemWidget(const DialogItem& item, QWidget& parent);

// The id a widget was created with, or kNoId.
[[nodiscard]] int ControlIdOf(const QWidget& widget);

inline constexpr const char* kControlIdProperty = "controlId";
