#pragma once

class QStyle;

// The application's style with the narrower parts the templates were sized for: a narrow drop
// button on drop-downs (the lists are 40 to 46 dialog units wide, and the wider buttons of
// current styles cut items such as "76.8kbps" short) and a small gap between a check box and
// its caption. Owned by the application.
[[nodiscard]] QStyle* CompactControlStyle();
