#pragma once

class QStyle;

// The application's style with group boxes drawn as the templates were laid out for: the
// frame's top line runs through the middle of the caption, with a gap for it, instead of
// below the caption. Below the caption the frame would cross the first row of a box whose
// controls start close under its top (the "Advanced Configuration" box). Owned by the
// application.
[[nodiscard]] QStyle* GroupBoxStyle();
