#pragma once

#include <QString>

// Names in the order people count them: runs of digits compare as numbers, so pts/2 comes
// before pts/11 and ttyUSB9 before ttyUSB10; the rest compares as text.
[[nodiscard]] bool NaturalLess(const QString& a, const QString& b);
