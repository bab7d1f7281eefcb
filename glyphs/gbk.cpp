#include "glyphs/gbk.h"

std::uint16_t nextGbkCharacter(const char*& text) {
    const auto byte = static_cast<unsigned char>(text[0]);
    if (byte == 0) {
        return 0;
    }
    const auto next = static_cast<unsigned char>(text[1]);
    if (byte >= 0x81 && byte <= 0xFE && next != 0) {
        text += 2;
        return static_cast<std::uint16_t>(byte << 8 | next);
    }
    text += 1;
    return byte;
}
