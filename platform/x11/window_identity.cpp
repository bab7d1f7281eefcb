#include "platform/window_identity.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <png.h>

#include <string>
#include <vector>

namespace {

// Appends one size as _NET_WM_ICON holds it: width, height, then the pixels
// row by row from the top, each 0xAARRGGBB. Xlib takes format-32 property
// data as longs, whatever their width. An unreadable PNG adds nothing.
void appendIcon(const IconPng& png, std::vector<long>& property) {
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_memory(&image, png.bytes, png.size)) {
        return;
    }
    image.format = PNG_FORMAT_RGBA;
    std::vector<unsigned char> rgba(PNG_IMAGE_SIZE(image));
    if (!png_image_finish_read(&image, nullptr, rgba.data(), 0, nullptr)) {
        return;
    }
    property.push_back(static_cast<long>(image.width));
    property.push_back(static_cast<long>(image.height));
    for (std::size_t i = 0; i < rgba.size(); i += 4) {
        const unsigned long argb = static_cast<unsigned long>(rgba[i + 3]) << 24 |
                                   static_cast<unsigned long>(rgba[i]) << 16 |
                                   static_cast<unsigned long>(rgba[i + 1]) << 8 | rgba[i + 2];
        property.push_back(static_cast<long>(argb));
    }
}

}  // namespace

void identifyGameWindow(const char* instance, const char* windowClass, const IconPng* icons,
                        int count) {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (display == nullptr || window == None) {
        return;
    }
    // res_name, then res_class: the class is what StartupWMClass matches.
    std::string name = instance;
    std::string className = windowClass;
    XClassHint hint = {name.data(), className.data()};
    XSetClassHint(display, window, &hint);

    std::vector<long> property;
    for (int i = 0; i < count; ++i) {
        appendIcon(icons[i], property);
    }
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(property.data()),
                    static_cast<int>(property.size()));
    XFlush(display);
}
