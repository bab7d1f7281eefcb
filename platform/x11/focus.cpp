#include "platform/focus.h"

#include <GL/glx.h>
#include <X11/Xlib-xcb.h>
#include <X11/Xlib.h>
#include <xcb/xcb.h>
#include <xcb/xcbext.h>

#include <cstdlib>

namespace {

// The question is sent now and its answer read a tick later, never waited
// for: a round trip would wait until the X server has taken in the previous
// frame's image, which at large window sizes is most of a tick.
bool asked = false;
unsigned int question = 0;
bool answer = false;

bool elsewhere(const xcb_get_input_focus_reply_t& reply, GLXDrawable game) {
    // PointerRoot names no window, and None is not a move to another one.
    return reply.focus != XCB_INPUT_FOCUS_POINTER_ROOT && reply.focus != XCB_NONE &&
           reply.focus != game;
}

}  // namespace

bool keyboardFocusIsElsewhere() {
    // freeglut's own connection and window: the ones its GL context is bound to.
    Display* display = glXGetCurrentDisplay();
    const GLXDrawable game = glXGetCurrentDrawable();
    if (display == nullptr || game == None) {
        return false;
    }
    xcb_connection_t* connection = XGetXCBConnection(display);
    if (asked) {
        void* reply = nullptr;
        xcb_generic_error_t* error = nullptr;
        if (xcb_poll_for_reply(connection, question, &reply, &error) != 0) {
            asked = false;
            if (reply != nullptr) {
                answer = elsewhere(*static_cast<xcb_get_input_focus_reply_t*>(reply), game);
            }
            std::free(reply);
            std::free(error);
        }
    }
    if (!asked) {
        question = xcb_get_input_focus(connection).sequence;
        asked = true;
        xcb_flush(connection);
    }
    return answer;
}
