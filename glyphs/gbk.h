// GBK text split into its characters by the encoding's own structure.
#pragma once

#include <cstdint>

// A byte below 0x80 is a character, and so are a lead byte 0x81-0xFE and the
// byte after it. Returns the next character's code (the byte, or lead * 256
// + the byte after) and moves text past it; 0 at the end. A lead byte with
// nothing after it, like any other byte, stands alone.
std::uint16_t nextGbkCharacter(const char*& text);

// Calls visit(code) for each character of the text in turn.
template <typename Visit>
void forEachGbkCharacter(const char* text, Visit&& visit) {
    for (std::uint16_t code = nextGbkCharacter(text); code != 0; code = nextGbkCharacter(text)) {
        visit(code);
    }
}
