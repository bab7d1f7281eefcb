// Turns the rendered icon into a Windows .ico, the program's icon resource:
//   kestrun-icon-ico ICON.png OUTPUT.ico SIZE...
// with one 32-bit image (alpha, and a mask for old readers) per SIZE x SIZE.
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "tools/icon/image.h"
#include "tools/icon/png_file.h"

namespace {

using Bytes = std::vector<std::uint8_t>;

void put16(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value));
    out.push_back(static_cast<std::uint8_t>(value >> 8));
}

void put32(Bytes& out, std::uint32_t value) {
    put16(out, value & 0xFFFF);
    put16(out, value >> 16);
}

// A device-independent bitmap as icons hold it: the header gives twice the
// height (colours, then the mask), rows run bottom up, colours as BGRA and
// the mask one bit a pixel, set where the icon is transparent.
Bytes iconImage(const Image& image) {
    const int size = image.width;
    const int maskRowBytes = (size + 31) / 32 * 4;
    Bytes out;
    put32(out, 40);
    put32(out, static_cast<std::uint32_t>(size));
    put32(out, static_cast<std::uint32_t>(2 * size));
    put16(out, 1);
    put16(out, 32);
    put32(out, 0);
    put32(out, static_cast<std::uint32_t>(size * size * 4 + maskRowBytes * size));
    for (int i = 0; i < 4; ++i) {
        put32(out, 0);
    }
    for (int y = size - 1; y >= 0; --y) {
        for (int x = 0; x < size; ++x) {
            const std::uint8_t* p = pixelAt(image, x, y);
            out.insert(out.end(), {p[2], p[1], p[0], p[3]});
        }
    }
    for (int y = size - 1; y >= 0; --y) {
        Bytes row(static_cast<std::size_t>(maskRowBytes), 0);
        for (int x = 0; x < size; ++x) {
            if (pixelAt(image, x, y)[3] == 0) {
                row[static_cast<std::size_t>(x / 8)] |= static_cast<std::uint8_t>(0x80 >> (x % 8));
            }
        }
        out.insert(out.end(), row.begin(), row.end());
    }
    return out;
}

Bytes iconFile(const std::vector<Bytes>& images, const std::vector<int>& sizes) {
    Bytes out;
    put16(out, 0);
    put16(out, 1);  // an icon, not a cursor
    put16(out, static_cast<unsigned>(images.size()));
    std::uint32_t offset = static_cast<std::uint32_t>(6 + 16 * images.size());
    for (std::size_t i = 0; i < images.size(); ++i) {
        const auto side = static_cast<std::uint8_t>(sizes[i] == 256 ? 0 : sizes[i]);
        out.insert(out.end(), {side, side, 0, 0});
        put16(out, 1);
        put16(out, 32);
        put32(out, static_cast<std::uint32_t>(images[i].size()));
        put32(out, offset);
        offset += static_cast<std::uint32_t>(images[i].size());
    }
    for (const Bytes& image : images) {
        out.insert(out.end(), image.begin(), image.end());
    }
    return out;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 4) {
        std::fprintf(stderr, "usage: kestrun-icon-ico ICON.png OUTPUT.ico SIZE...\n");
        return 2;
    }
    Image icon;
    if (!readPng(argv[1], icon)) {
        std::fprintf(stderr, "kestrun-icon-ico: cannot read %s\n", argv[1]);
        return 1;
    }
    std::vector<Bytes> images;
    std::vector<int> sizes;
    for (int i = 3; i < argc; ++i) {
        const int size = std::atoi(argv[i]);
        if (size <= 0 || size > 256 || size > icon.width || size > icon.height) {
            std::fprintf(stderr, "kestrun-icon-ico: bad size %s\n", argv[i]);
            return 2;
        }
        images.push_back(iconImage(size == icon.width ? icon : shrinkImage(icon, size, size)));
        sizes.push_back(size);
    }
    const Bytes file = iconFile(images, sizes);
    std::FILE* out = std::fopen(argv[2], "wb");
    const bool written =
        out != nullptr && std::fwrite(file.data(), 1, file.size(), out) == file.size();
    if (out == nullptr || std::fclose(out) != 0 || !written) {
        std::fprintf(stderr, "kestrun-icon-ico: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
