#include "platform/renderer_probe.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

#include <cstring>

// Mesa's GLX_MESA_query_renderer, in case glxext.h is older than it.
#ifndef GLX_RENDERER_ACCELERATED_MESA
#define GLX_RENDERER_ACCELERATED_MESA 0x8186
#endif

namespace {

using QueryRendererInteger = Bool (*)(Display*, int, int, int, unsigned int*);

// An X server with no other client resets when its last one leaves (a bare
// Xvfb does) and turns away a client that connects meanwhile: the probe's
// connection stays open, idle, so it always outlasts the moment freeglut
// opens its own. The process's end closes it.
Display* probeDisplay = nullptr;

// The argument after the last "-display", as freeglut would take it.
const char* displayName(int argc, char** argv) {
    const char* name = nullptr;
    for (int i = 1; i + 1 < argc; ++i) {
        if (std::strcmp(argv[i], "-display") == 0) {
            name = argv[i + 1];
        }
    }
    return name;
}

// A whole word of the space-separated extension list, not a prefix of another.
bool listsExtension(const char* extensions, const char* name) {
    const std::size_t length = std::strlen(name);
    for (const char* at = extensions; at != nullptr && (at = std::strstr(at, name)) != nullptr;
         at += length) {
        const bool starts = at == extensions || at[-1] == ' ';
        const bool ends = at[length] == ' ' || at[length] == '\0';
        if (starts && ends) {
            return true;
        }
    }
    return false;
}

// The extension answers for the screen's default renderer without a context.
RendererKind askScreen(Display* display, int screen) {
    if (!listsExtension(glXQueryExtensionsString(display, screen), "GLX_MESA_query_renderer")) {
        return RendererKind::Unknown;
    }
    const auto query = reinterpret_cast<QueryRendererInteger>(
        glXGetProcAddressARB(reinterpret_cast<const GLubyte*>("glXQueryRendererIntegerMESA")));
    unsigned int accelerated = 0;
    if (query == nullptr ||
        !query(display, screen, 0, GLX_RENDERER_ACCELERATED_MESA, &accelerated)) {
        return RendererKind::Unknown;
    }
    return accelerated != 0 ? RendererKind::Hardware : RendererKind::Software;
}

}  // namespace

RendererKind probeRendererBeforeWindow(int argc, char** argv) {
    // A connection of our own: freeglut opens its own only in glutInit.
    if (probeDisplay != nullptr) {
        XCloseDisplay(probeDisplay);
    }
    probeDisplay = XOpenDisplay(displayName(argc, argv));
    if (probeDisplay == nullptr) {
        return RendererKind::Unknown;
    }
    return askScreen(probeDisplay, DefaultScreen(probeDisplay));
}
