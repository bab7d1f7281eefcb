// What lets a desktop shell tie the running game's window to its launcher.
#pragma once

#include <cstddef>

// One size of the icon, as the bytes of a PNG file, and its width and
// height in pixels.
struct IconPng {
    const unsigned char* bytes;
    std::size_t size;
    int side;
};

// Gives the game's window (the one whose GL context is current) an instance
// name and the class its desktop entry names in StartupWMClass, and the
// icon at the given sizes. Call right after the window is created.
void identifyGameWindow(const char* instance, const char* windowClass, const IconPng* icons,
                        int count);
