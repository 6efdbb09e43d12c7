// make_icon MAP16 MAP32 OUT.ico
// Turns the 16x16 and 32x32 pixel maps of the application icon into an .ico file.
#include "icon_file.h"
#include "pixel_map.h"

#include <fstream>
#include <iostream>
#include <sstream>

namespace {

PixelMap read_map(const char *path, int size) {
    std::ifstream file(path, std::ios::binary);
    if (!file)
        throw std::runtime_error(std::string(path) + ": cannot open");
    std::ostringstream text;
    text << file.rdbuf();
    try {
        return parse_pixel_map(text.str(), size);
    } catch (const PixelMapError &error) {
        throw std::runtime_error(std::string(path) + ": " + error.what());
    }
}

} // namespace

int main(int argc, char **argv) {
    if (argc != 4) {
        std::cerr << "usage: make_icon MAP16.txt MAP32.txt OUT.ico\n";
        return 2;
    }
    try {
        const std::vector<std::uint8_t> icon =
            build_icon_file({read_map(argv[1], 16), read_map(argv[2], 32)});
        std::ofstream out(argv[3], std::ios::binary | std::ios::trunc);
        out.write(reinterpret_cast<const char *>(icon.data()),
                  static_cast<std::streamsize>(icon.size()));
        out.close();
        if (!out)
            throw std::runtime_error(std::string(argv[3]) + ": cannot write");
    } catch (const std::exception &error) {
        std::cerr << "make_icon: " << error.what() << '\n';
        return 1;
    }
    return 0;
}
