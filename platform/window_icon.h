// The car icon at a few sizes, built into the program from the project's
// rendered icon (packaging/icons) by tools/icon's kestrun-icon-source,
// so the game reads no file to show it.
#pragma once

#include <cstddef>
#include <cstdint>

// One size after another: width, height, then the pixels row by row from the
// top, each 0xAARRGGBB with colour not premultiplied by alpha.
extern const std::uint32_t kWindowIcon[];
extern const std::size_t kWindowIconLength;
