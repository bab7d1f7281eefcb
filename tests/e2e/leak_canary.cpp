// Draws a real frame, then drops a heap block on the floor. Run under the
// sanitizer build's environment, LeakSanitizer must name leakOnPurpose: the
// suppressions that hide Mesa's buffers must not hide the program's own.
#include <cstdio>
#include <cstdlib>
#include <thread>

#include "render/graphics.h"
#include "tests/gl_window.h"

namespace {

// Run on a thread of its own, whose stack is gone by the leak check, so no
// stale copy of the pointer can keep the block reachable.
void leakOnPurpose() {
    void* volatile lost = std::malloc(4242);
    static_cast<void>(lost);
}

}  // namespace

int main() {
    openTestWindow(320, 240);
    drawFrame();
    std::thread(leakOnPurpose).join();
    std::puts("frame drawn, block leaked");
    return 0;
}
