#include <cstring>
#include <initializer_list>

#include "platform/renderer_probe.h"

bool namesSoftwareRenderer(const char* renderer) {
    if (renderer == nullptr) {
        return false;
    }
    for (const char* name : {"llvmpipe", "softpipe", "swrast", "GDI Generic"}) {
        if (std::strstr(renderer, name) != nullptr) {
            return true;
        }
    }
    return false;
}
