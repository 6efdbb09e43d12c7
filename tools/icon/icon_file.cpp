#include "icon_file.h"

#include <array>
#include <stdexcept>
#include <string>

namespace {

struct Rgb {
    std::uint8_t red, green, blue;
};

// The colours every Windows version shows the same, so the icon cannot come out
// in other colours on another display setting.
constexpr std::array<Rgb, 16> standard_palette = {{
    {0x00, 0x00, 0x00}, // black
    {0x80, 0x00, 0x00}, // dark red
    {0x00, 0x80, 0x00}, // dark green
    {0x80, 0x80, 0x00}, // olive
    {0x00, 0x00, 0x80}, // navy
    {0x80, 0x00, 0x80}, // purple
    {0x00, 0x80, 0x80}, // teal
    {0xC0, 0xC0, 0xC0}, // silver
    {0x80, 0x80, 0x80}, // grey
    {0xFF, 0x00, 0x00}, // red
    {0x00, 0xFF, 0x00}, // lime
    {0xFF, 0xFF, 0x00}, // yellow
    {0x00, 0x00, 0xFF}, // blue
    {0xFF, 0x00, 0xFF}, // fuchsia
    {0x00, 0xFF, 0xFF}, // aqua
    {0xFF, 0xFF, 0xFF}, // white
}};

constexpr int bits_per_pixel = 4;
constexpr std::uint32_t bitmap_info_header_size = 40;
constexpr std::uint32_t icon_dir_size = 6;
constexpr std::uint32_t icon_dir_entry_size = 16;
constexpr std::uint32_t palette_bytes = 4 * standard_palette.size();

// Bitmap rows are padded to whole 32-bit words.
std::uint32_t row_bytes(int width, int bits) {
    return static_cast<std::uint32_t>((width * bits + 31) / 32 * 4);
}

std::uint32_t color_bitmap_bytes(int size) {
    return row_bytes(size, bits_per_pixel) * size;
}
std::uint32_t mask_bytes(int size) {
    return row_bytes(size, 1) * size;
}

std::uint32_t image_bytes(int size) {
    return bitmap_info_header_size + palette_bytes + color_bitmap_bytes(size) + mask_bytes(size);
}

void put_u8(std::vector<std::uint8_t> &out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
}

void put_u16(std::vector<std::uint8_t> &out, unsigned value) {
    put_u8(out, value & 0xFF);
    put_u8(out, (value >> 8) & 0xFF);
}

void put_u32(std::vector<std::uint8_t> &out, std::uint32_t value) {
    put_u16(out, value & 0xFFFF);
    put_u16(out, value >> 16);
}

void put_image(std::vector<std::uint8_t> &out, const PixelMap &map) {
    const int size = map.size;

    // BITMAPINFOHEADER; the height counts the colour bitmap and the mask together.
    put_u32(out, bitmap_info_header_size);
    put_u32(out, static_cast<std::uint32_t>(size));
    put_u32(out, static_cast<std::uint32_t>(2 * size));
    put_u16(out, 1);
    put_u16(out, bits_per_pixel);
    put_u32(out, 0); // BI_RGB
    put_u32(out, color_bitmap_bytes(size) + mask_bytes(size));
    put_u32(out, 0);
    put_u32(out, 0);
    put_u32(out, 0); // all 16 colours used
    put_u32(out, 0);

    for (const Rgb &colour : standard_palette) {
        put_u8(out, colour.blue);
        put_u8(out, colour.green);
        put_u8(out, colour.red);
        put_u8(out, 0);
    }

    // Both bitmaps are stored bottom row first.
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(row_bytes(size, bits_per_pixel), 0);
        for (int x = 0; x < size; ++x) {
            const int pixel = map.at(x, y);
            const unsigned index = pixel == PixelMap::transparent ? 0 : pixel;
            row[x / 2] |= static_cast<std::uint8_t>(x % 2 == 0 ? index << 4 : index);
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    for (int y = size - 1; y >= 0; --y) {
        std::vector<std::uint8_t> row(row_bytes(size, 1), 0);
        for (int x = 0; x < size; ++x)
            if (map.at(x, y) == PixelMap::transparent)
                row[x / 8] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
        out.insert(out.end(), row.begin(), row.end());
    }
}

} // namespace

std::vector<std::uint8_t> build_icon_file(const std::vector<PixelMap> &images) {
    // The directory keeps a size in one byte, with 0 meaning 256; nothing here needs that large.
    if (images.empty() || images.size() > 0xFFFF)
        throw std::invalid_argument("an icon file holds 1 to 65535 images");
    for (const PixelMap &map : images)
        if (map.size < 1 || map.size > 255 ||
            map.pixels.size() != static_cast<size_t>(map.size * map.size))
            throw std::invalid_argument("cannot store a " + std::to_string(map.size) + "x" +
                                        std::to_string(map.size) + " image in an icon");

    std::vector<std::uint8_t> out;
    put_u16(out, 0);
    put_u16(out, 1); // an icon, not a cursor
    put_u16(out, static_cast<unsigned>(images.size()));

    std::uint32_t offset =
        icon_dir_size + icon_dir_entry_size * static_cast<std::uint32_t>(images.size());
    for (const PixelMap &map : images) {
        put_u8(out, static_cast<unsigned>(map.size));
        put_u8(out, static_cast<unsigned>(map.size));
        put_u8(out, standard_palette.size());
        put_u8(out, 0);
        put_u16(out, 1);
        put_u16(out, bits_per_pixel);
        put_u32(out, image_bytes(map.size));
        put_u32(out, offset);
        offset += image_bytes(map.size);
    }
    for (const PixelMap &map : images)
        put_image(out, map);
    return out;
}
