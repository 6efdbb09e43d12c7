// A small picture drawn as text, one character per pixel, as kept in res/moon-*.txt.
#ifndef SOMNIVO_TOOLS_ICON_PIXEL_MAP_H
#define SOMNIVO_TOOLS_ICON_PIXEL_MAP_H

#include <stdexcept>
#include <string>
#include <vector>

// The text format, chosen so the icon can be edited in any text editor:
//  - lines starting with '#' are comments;
//  - every other line is one row of pixels, top row first;
//  - a hex digit 0-F (either case) is an index into the standard Windows 16-colour palette,
//    '.' is a transparent pixel.
// The map is square: as many rows as pixels per row.

struct PixelMap {
    static constexpr int transparent = -1;

    int size = 0;
    // Row after row from the top, each a palette index or `transparent`.
    std::vector<int> pixels;

    int at(int x, int y) const { return pixels[static_cast<size_t>(y * size + x)]; }
};

// What is wrong with a map, with the line it was found on, for the person who drew it.
class PixelMapError : public std::runtime_error {
  public:
    using std::runtime_error::runtime_error;
};

// Reads a map that must be `size` pixels wide and high. Throws PixelMapError.
PixelMap parse_pixel_map(const std::string &text, int size);

#endif
