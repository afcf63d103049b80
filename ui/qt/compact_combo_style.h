#pragma once

class QStyle;

// The application's style with a narrower drop button on drop-downs: the template's lists are
// 40 to 46 dialog units wide, sized for a 17-pixel button, and the wider buttons of current
// styles would cut items such as "Binary" short. Owned by the application.
[[nodiscard]] QStyle* CompactComboStyle();
