// Whether the renderer the game's window will get is software or hardware,
// asked before any window exists, so the display mode can be chosen for it.
#pragma once

enum class RendererKind { Unknown, Software, Hardware };

// Asks the window system about the renderer of the display the game will
// open (honouring a -display NAME argument, read before glutInit consumes
// it). Unknown when the display cannot be opened or does not say; opens no
// window and makes no GL context, and leaves nothing that could stop the
// window from opening next.
RendererKind probeRendererBeforeWindow(int argc, char** argv);

// True when a GL_RENDERER string names a software rasteriser: Mesa's
// llvmpipe, softpipe or swrast, or Windows' own "GDI Generic".
bool namesSoftwareRenderer(const char* renderer);
