// The icon generator, and the committed res/somnivo.ico that it must have made.
// The icon is decoded here by hand, following the .ico layout, rather than with the
// generator's own code, so a mistake there cannot hide itself.
#include "icon_file.h"
#include "pixel_map.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

const std::string res_dir = SOMNIVO_RES_DIR;

std::string read_file(const std::string &path) {
    std::ifstream file(path, std::ios::binary);
    EXPECT_TRUE(file) << "cannot open " << path;
    std::ostringstream text;
    text << file.rdbuf();
    return text.str();
}

std::vector<std::uint8_t> read_bytes(const std::string &path) {
    const std::string text = read_file(path);
    return {text.begin(), text.end()};
}

unsigned u8(const std::vector<std::uint8_t> &bytes, size_t at) {
    return bytes.at(at);
}

unsigned u16(const std::vector<std::uint8_t> &bytes, size_t at) {
    return u8(bytes, at) | u8(bytes, at + 1) << 8;
}

std::uint32_t u32(const std::vector<std::uint8_t> &bytes, size_t at) {
    return u16(bytes, at) | static_cast<std::uint32_t>(u16(bytes, at + 2)) << 16;
}

// The rows of a drawing as the person wrote them, comments left out.
std::vector<std::string> drawing_rows(const std::string &path) {
    std::istringstream lines(read_file(path));
    std::vector<std::string> rows;
    for (std::string line; std::getline(lines, line);) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.empty() || line[0] != '#')
            rows.push_back(line);
    }
    return rows;
}

// Windows' 16 standard colours as 0xRRGGBB, in palette order.
constexpr std::array<std::uint32_t, 16> standard_colours = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0xC0C0C0,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF};

struct CommittedImage {
    unsigned size;
    const char *drawing;
};
constexpr CommittedImage committed_images[] = {{16, "moon-16.txt"}, {32, "moon-32.txt"}};

constexpr size_t icon_dir_bytes = 6;
constexpr size_t entry_bytes = 16;
constexpr size_t info_header_bytes = 40;
constexpr size_t palette_bytes = 16 * 4;

} // namespace

TEST(CommittedIcon, IsWhatTheDrawingsMake) {
    const std::vector<std::uint8_t> built =
        build_icon_file({parse_pixel_map(read_file(res_dir + "/moon-16.txt"), 16),
                         parse_pixel_map(read_file(res_dir + "/moon-32.txt"), 32)});
    const std::vector<std::uint8_t> committed = read_bytes(res_dir + "/somnivo.ico");

    size_t first_difference = 0;
    while (first_difference < built.size() && first_difference < committed.size() &&
           built[first_difference] == committed[first_difference])
        ++first_difference;
    EXPECT_TRUE(built == committed)
        << "res/somnivo.ico (" << committed.size() << " bytes) is not what res/moon-*.txt make ("
        << built.size() << " bytes), first difference at byte " << first_difference
        << "; rebuild it with the host build's update_icon target";
}

TEST(CommittedIcon, DirectoryListsOneFourBitImagePerSize) {
    const std::vector<std::uint8_t> ico = read_bytes(res_dir + "/somnivo.ico");
    ASSERT_GE(ico.size(), icon_dir_bytes + 2 * entry_bytes);
    EXPECT_EQ(u16(ico, 0), 0u);
    EXPECT_EQ(u16(ico, 2), 1u) << "type 1 is an icon";
    ASSERT_EQ(u16(ico, 4), 2u);

    // The images follow the directory back to back, up to the end of the file.
    size_t next_image = icon_dir_bytes + 2 * entry_bytes;
    for (size_t i = 0; i < 2; ++i) {
        const unsigned size = committed_images[i].size;
        SCOPED_TRACE("image " + std::to_string(size) + "x" + std::to_string(size));
        const size_t entry = icon_dir_bytes + i * entry_bytes;
        EXPECT_EQ(u8(ico, entry), size);
        EXPECT_EQ(u8(ico, entry + 1), size);
        EXPECT_EQ(u8(ico, entry + 2), 16u) << "colour count";
        EXPECT_EQ(u8(ico, entry + 3), 0u);
        EXPECT_EQ(u16(ico, entry + 4), 1u) << "planes";
        EXPECT_EQ(u16(ico, entry + 6), 4u) << "bits per pixel";
        // Two pixels per byte of the colour bitmap; a mask row of 16 or 32 pixels
        // is padded to one 4-byte word.
        const size_t image_bytes = info_header_bytes + palette_bytes + size * size / 2 + size * 4;
        EXPECT_EQ(u32(ico, entry + 8), image_bytes);
        EXPECT_EQ(u32(ico, entry + 12), next_image);
        next_image += image_bytes;
    }
    EXPECT_EQ(next_image, ico.size());
}

TEST(CommittedIcon, ImagesShowTheDrawingsInTheStandardPalette) {
    const std::vector<std::uint8_t> ico = read_bytes(res_dir + "/somnivo.ico");
    ASSERT_EQ(u16(ico, 4), 2u);

    for (size_t i = 0; i < 2; ++i) {
        const unsigned size = committed_images[i].size;
        SCOPED_TRACE(committed_images[i].drawing);
        const size_t image = u32(ico, icon_dir_bytes + i * entry_bytes + 12);
        ASSERT_LE(image + info_header_bytes + palette_bytes + size * size / 2 + size * 4,
                  ico.size());

        // BITMAPINFOHEADER: the height counts the colour bitmap and the mask.
        EXPECT_EQ(u32(ico, image), info_header_bytes);
        EXPECT_EQ(u32(ico, image + 4), size);
        EXPECT_EQ(u32(ico, image + 8), 2 * size);
        EXPECT_EQ(u16(ico, image + 12), 1u) << "planes";
        EXPECT_EQ(u16(ico, image + 14), 4u) << "bits per pixel";
        EXPECT_EQ(u32(ico, image + 16), 0u) << "uncompressed";
        const std::uint32_t colours_used = u32(ico, image + 32);
        EXPECT_TRUE(colours_used == 0 || colours_used == 16) << colours_used;

        // The palette holds blue, green, red and a zero byte per colour.
        const size_t palette = image + info_header_bytes;
        for (size_t c = 0; c < standard_colours.size(); ++c) {
            const std::uint32_t rgb = static_cast<std::uint32_t>(ico[palette + 4 * c + 2]) << 16 |
                                      ico[palette + 4 * c + 1] << 8 | ico[palette + 4 * c];
            EXPECT_EQ(rgb, standard_colours[c]) << "palette entry " << c;
            EXPECT_EQ(u8(ico, palette + 4 * c + 3), 0u) << "palette entry " << c;
        }

        // Both bitmaps store the bottom row first. A transparent pixel is colour 0
        // under a set mask bit, so drawing it leaves the screen as it was.
        const std::vector<std::string> rows =
            drawing_rows(res_dir + "/" + committed_images[i].drawing);
        ASSERT_EQ(rows.size(), size);
        const size_t colour_bitmap = palette + palette_bytes;
        const size_t mask = colour_bitmap + size * size / 2;
        int wrong_pixels = 0;
        std::string first_wrong;
        for (unsigned y = 0; y < size; ++y) {
            ASSERT_EQ(rows[y].size(), size);
            const size_t stored_row = size - 1 - y;
            for (unsigned x = 0; x < size; ++x) {
                const std::uint8_t pair = ico[colour_bitmap + stored_row * size / 2 + x / 2];
                const unsigned colour = x % 2 == 0 ? pair >> 4 : pair & 0x0F;
                const bool masked = ico[mask + stored_row * 4 + x / 8] >> (7 - x % 8) & 1;
                const char drawn = rows[y][x];
                const bool transparent = drawn == '.';
                const unsigned expected_colour =
                    transparent ? 0 : std::stoul(std::string(1, drawn), nullptr, 16);
                if (masked != transparent || colour != expected_colour) {
                    if (wrong_pixels++ == 0)
                        first_wrong = "x=" + std::to_string(x) + " y=" + std::to_string(y) +
                                      ": drawn '" + drawn + "', stored colour " +
                                      std::to_string(colour) + (masked ? " masked" : " unmasked");
                }
            }
        }
        EXPECT_EQ(wrong_pixels, 0) << "first at " << first_wrong;
    }
}

TEST(IconFile, StoresRowsBottomUpWithTheLeftPixelInTheHighNibble) {
    // Only the two leftmost pixels of the top row are drawn.
    std::string text = "9C" + std::string(14, '.') + "\n";
    for (int row = 1; row < 16; ++row)
        text += std::string(16, '.') + "\n";
    const std::vector<std::uint8_t> ico = build_icon_file({parse_pixel_map(text, 16)});

    const size_t colour_bitmap = icon_dir_bytes + entry_bytes + info_header_bytes + palette_bytes;
    const size_t mask = colour_bitmap + 16 * 8;
    ASSERT_EQ(ico.size(), mask + 16 * 4);
    const size_t top_row = 15;
    EXPECT_EQ(u8(ico, colour_bitmap + top_row * 8), 0x9Cu);
    EXPECT_EQ(u8(ico, mask + top_row * 4), 0x3Fu) << "the two leftmost mask bits clear";
    EXPECT_EQ(u8(ico, mask + top_row * 4 + 1), 0xFFu);
    EXPECT_EQ(u8(ico, colour_bitmap), 0x00u) << "bottom row is transparent";
    EXPECT_EQ(u8(ico, mask), 0xFFu) << "bottom row is transparent";
}

TEST(PixelMap, ReadsColoursTransparencyAndComments) {
    const PixelMap map = parse_pixel_map("# a comment\r\n0f.\r\n#another\nA.9\n..5", 3);
    EXPECT_EQ(map.size, 3);
    const int t = PixelMap::transparent;
    EXPECT_EQ(map.pixels, (std::vector<int>{0, 15, t, 10, t, 9, t, t, 5}));
}

TEST(PixelMap, RejectsMalformedMaps) {
    struct Case {
        const char *what;
        const char *text;
        const char *message;
    };
    const Case cases[] = {
        {"short row", "...\n..\n...\n", "line 2: row has 2 pixels, expected 3"},
        {"long row", "# 3x3\n...\n...\n....\n", "line 4: row has 4 pixels, expected 3"},
        {"empty line", "...\n\n...\n", "line 2: row has 0 pixels, expected 3"},
        {"unknown pixel", "...\n.G.\n...\n", "line 2: unknown pixel 'G' in column 2"},
        {"space for transparent", "...\n...\n.. \n", "line 3: unknown pixel ' ' in column 3"},
        {"too few rows", "...\n...\n# no third row\n", "map has 2 rows, expected 3"},
        {"too many rows", "...\n...\n...\n...\n", "line 4: more than the 3 rows"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        try {
            parse_pixel_map(c.text, 3);
            ADD_FAILURE() << "accepted";
        } catch (const PixelMapError &error) {
            EXPECT_NE(std::string(error.what()).find(c.message), std::string::npos)
                << "message: " << error.what();
        }
    }
}
