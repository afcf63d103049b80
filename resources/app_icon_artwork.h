#pragma once

#include "resources/app_icon.h"

// The radio-module glyph drawn at one size: a circuit board with a chip and a status light,
// and an antenna sending signal arcs to both sides. Drawing takes tens of milliseconds, so it
// is done when the program is built: the icon's images are data in the program
// (app_icon_pixels_writer.cpp), and the installed theme icons are drawn from the same artwork.
[[nodiscard]] IconImage RenderAppIcon(int size);
