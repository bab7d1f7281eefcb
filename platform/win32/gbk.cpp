#include "platform/gbk.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr UINT kGbkCodePage = 936;

// GBK's two-byte characters: a lead byte 0x81-0xFE, then a trail byte
// 0x40-0xFE other than 0x7F. 0x80 and 0xFF start nothing.
bool isLead(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

bool isTrail(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// One two-byte character through the code page; MB_ERR_INVALID_CHARS makes
// an unassigned pair fail rather than turn into a default character.
bool decodePair(const char* pair, char32_t& out) {
    wchar_t wide[2] = {};
    if (MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, pair, 2, wide, 2) != 1) {
        return false;
    }
    out = static_cast<char32_t>(wide[0]);
    return true;
}

}  // namespace

bool gbkDecoderAvailable() {
    return IsValidCodePage(kGbkCodePage) != 0;
}

// MultiByteToWideChar neither marks bad bytes nor resynchronises after them
// by itself, so the text is walked a character at a time: a byte that cannot
// start a character, or a pair the code page does not assign, gives one
// replacement and decoding goes on at the next byte, as with iconv.
void decodeGbkInto(const char* bytes, std::u32string& out) {
    const std::size_t length = std::strlen(bytes);
    const bool available = gbkDecoderAvailable();
    out.clear();
    for (std::size_t i = 0; i < length;) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        char32_t character = kReplacementCharacter;
        std::size_t used = 1;
        if (byte < 0x80) {
            character = byte;
        } else if (available && isLead(byte) && i + 1 < length &&
                   isTrail(static_cast<unsigned char>(bytes[i + 1])) &&
                   decodePair(bytes + i, character)) {
            used = 2;
        } else {
            character = kReplacementCharacter;
        }
        out.push_back(character);
        i += used;
    }
}
