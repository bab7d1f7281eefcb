#include "render/display_mode.h"

namespace {

RendererKind heardBeforeWindow = RendererKind::Unknown;

}  // namespace

unsigned int displayModeFor(RendererKind renderer) {
    return renderer == RendererKind::Software ? kSingleSampledDisplayMode
                                              : kMultisampledDisplayMode;
}

unsigned int chooseDisplayMode(int argc, char** argv) {
    heardBeforeWindow = probeRendererBeforeWindow(argc, argv);
    return displayModeFor(heardBeforeWindow);
}

RendererKind rendererBeforeWindow() {
    return heardBeforeWindow;
}

bool isSoftwareRenderer(RendererKind knownBeforeWindow, const char* glRenderer) {
    if (knownBeforeWindow != RendererKind::Unknown) {
        return knownBeforeWindow == RendererKind::Software;
    }
    return namesSoftwareRenderer(glRenderer);
}
