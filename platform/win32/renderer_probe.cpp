#include "platform/renderer_probe.h"

#include <windows.h>
// After windows.h, which GL/gl.h needs on Windows.
#include <GL/gl.h>

#include <string>

namespace {

constexpr wchar_t kProbeClass[] = L"KestrunRendererProbe";

// The renderer's name from a throwaway context on a window that is never
// shown; empty when any step fails.
std::string rendererName() {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    WNDCLASSW windowClass = {};
    windowClass.lpfnWndProc = DefWindowProcW;
    windowClass.hInstance = instance;
    windowClass.lpszClassName = kProbeClass;
    RegisterClassW(&windowClass);
    const HWND window = CreateWindowExW(0, kProbeClass, L"", WS_OVERLAPPEDWINDOW, 0, 0, 16, 16,
                                        nullptr, nullptr, instance, nullptr);
    std::string name;
    const HDC dc = window != nullptr ? GetDC(window) : nullptr;
    if (dc != nullptr) {
        PIXELFORMATDESCRIPTOR format = {};
        format.nSize = sizeof format;
        format.nVersion = 1;
        format.dwFlags = PFD_DRAW_TO_WINDOW | PFD_SUPPORT_OPENGL | PFD_DOUBLEBUFFER;
        format.iPixelType = PFD_TYPE_RGBA;
        format.cColorBits = 24;
        format.cDepthBits = 24;
        const int chosen = ChoosePixelFormat(dc, &format);
        const HGLRC context =
            chosen != 0 && SetPixelFormat(dc, chosen, &format) ? wglCreateContext(dc) : nullptr;
        if (context != nullptr && wglMakeCurrent(dc, context)) {
            const auto* renderer = reinterpret_cast<const char*>(glGetString(GL_RENDERER));
            name = renderer != nullptr ? renderer : "";
            wglMakeCurrent(nullptr, nullptr);
        }
        if (context != nullptr) {
            wglDeleteContext(context);
        }
        ReleaseDC(window, dc);
    }
    if (window != nullptr) {
        DestroyWindow(window);
    }
    UnregisterClassW(kProbeClass, instance);
    return name;
}

}  // namespace

// Windows' own software renderer is "GDI Generic"; under Wine and in some
// virtual machines it is Mesa's, which names itself. Any other is taken as
// hardware.
RendererKind probeRendererBeforeWindow(int /*argc*/, char** /*argv*/) {
    const std::string name = rendererName();
    if (name.empty()) {
        return RendererKind::Unknown;
    }
    return namesSoftwareRenderer(name.c_str()) ? RendererKind::Software : RendererKind::Hardware;
}
