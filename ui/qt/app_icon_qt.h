#pragma once

#include <QIcon>

// The icon resource as a QIcon carrying every size it has; a null icon for an unknown id.
[[nodiscard]] QIcon LoadAppIcon(int iconId);
