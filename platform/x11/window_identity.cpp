#include "platform/window_identity.h"

#include <GL/glx.h>
#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>

#include <vector>

#include "platform/window_icon.h"

void identifyGameWindow() {
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable window = glXGetCurrentDrawable();
    if (display == nullptr || window == None) {
        return;
    }
    // res_name, then res_class: the class is what StartupWMClass matches.
    char name[] = "kestrun";
    char className[] = "Kestrun";
    XClassHint hint = {name, className};
    XSetClassHint(display, window, &hint);

    // Xlib takes format-32 property data as longs, whatever their width.
    const std::vector<long> icon(kWindowIcon, kWindowIcon + kWindowIconLength);
    XChangeProperty(display, window, XInternAtom(display, "_NET_WM_ICON", False), XA_CARDINAL, 32,
                    PropModeReplace, reinterpret_cast<const unsigned char*>(icon.data()),
                    static_cast<int>(icon.size()));
    XFlush(display);
}
