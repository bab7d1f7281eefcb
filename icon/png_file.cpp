#include "icon/png_file.h"

#include <png.h>

#include <cstring>
#include <utility>

bool writePng(const std::string& path, const Image& image) {
    png_image header;
    std::memset(&header, 0, sizeof header);
    header.version = PNG_IMAGE_VERSION;
    header.width = static_cast<png_uint_32>(image.width);
    header.height = static_cast<png_uint_32>(image.height);
    header.format = PNG_FORMAT_RGBA;
    const int written =
        png_image_write_to_file(&header, path.c_str(), 0, image.rgba.data(), 0, nullptr);
    png_image_free(&header);
    return written != 0;
}

bool readPng(const std::string& path, Image& image) {
    png_image header;
    std::memset(&header, 0, sizeof header);
    header.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&header, path.c_str())) {
        return false;
    }
    header.format = PNG_FORMAT_RGBA;
    Image loaded = makeImage(static_cast<int>(header.width), static_cast<int>(header.height));
    if (!png_image_finish_read(&header, nullptr, loaded.rgba.data(), 0, nullptr)) {
        png_image_free(&header);
        return false;
    }
    image = std::move(loaded);
    return true;
}
