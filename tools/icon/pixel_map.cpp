#include "pixel_map.h"

#include <sstream>

namespace {

int palette_index(char c) {
    if (c >= '0' && c <= '9')
        return c - '0';
    if (c >= 'A' && c <= 'F')
        return c - 'A' + 10;
    if (c >= 'a' && c <= 'f')
        return c - 'a' + 10;
    if (c == '.')
        return PixelMap::transparent;
    return -2;
}

std::string describe(char c) {
    if (c >= 0x20 && c < 0x7f)
        return std::string("'") + c + "'";
    std::ostringstream code;
    code << "byte " << static_cast<int>(static_cast<unsigned char>(c));
    return code.str();
}

} // namespace

PixelMap parse_pixel_map(const std::string &text, int size) {
    PixelMap map;
    map.size = size;
    map.pixels.reserve(static_cast<size_t>(size * size));

    std::istringstream lines(text);
    std::string line;
    int line_number = 0;
    int rows = 0;
    while (std::getline(lines, line)) {
        ++line_number;
        // Tolerate files that went through a Windows checkout.
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (!line.empty() && line.front() == '#')
            continue;

        const std::string where = "line " + std::to_string(line_number) + ": ";
        if (rows == size)
            throw PixelMapError(where + "more than the " + std::to_string(size) + " rows of a " +
                                std::to_string(size) + "x" + std::to_string(size) + " map");
        if (line.size() != static_cast<size_t>(size))
            throw PixelMapError(where + "row has " + std::to_string(line.size()) +
                                " pixels, expected " + std::to_string(size));
        for (size_t column = 0; column < line.size(); ++column) {
            const int index = palette_index(line[column]);
            if (index == -2)
                throw PixelMapError(where + "unknown pixel " + describe(line[column]) +
                                    " in column " + std::to_string(column + 1) +
                                    " (use 0-9, A-F for a colour or '.' for transparent)");
            map.pixels.push_back(index);
        }
        ++rows;
    }
    if (rows != size)
        throw PixelMapError("map has " + std::to_string(rows) + " rows, expected " +
                            std::to_string(size));
    return map;
}
