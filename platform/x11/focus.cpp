#include "platform/focus.h"

#include <GL/glx.h>
#include <X11/Xlib.h>

bool keyboardFocusIsElsewhere() {
    // freeglut's own connection and window: the ones its GL context is bound to.
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable game = glXGetCurrentDrawable();
    if (display == nullptr || game == None) {
        return false;
    }
    Window focus = None;
    int revertTo = 0;
    XGetInputFocus(display, &focus, &revertTo);
    // PointerRoot names no window, and None is not a move to another one.
    return focus != PointerRoot && focus != None && focus != game;
}
