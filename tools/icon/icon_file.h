// Writes pixel maps as a Windows .ico file of 4-bit images with transparency masks.
#ifndef SOMNIVO_TOOLS_ICON_ICON_FILE_H
#define SOMNIVO_TOOLS_ICON_ICON_FILE_H

#include "pixel_map.h"

#include <cstdint>
#include <vector>

// One image per map, in the given order, all with the standard 16-colour palette.
// Transparent pixels get colour 0 under a set mask bit, so they leave the screen untouched.
// Throws std::invalid_argument for an empty list or a map size an icon cannot have.
std::vector<std::uint8_t> build_icon_file(const std::vector<PixelMap> &images);

#endif
