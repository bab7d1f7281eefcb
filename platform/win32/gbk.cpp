#include "platform/gbk.h"

#include <windows.h>

#include <cstring>

namespace {

constexpr UINT kGbkCodePage = 936;

// GBK's two-byte characters: a lead byte 0x81-0xFE, then a trail byte
// 0x40-0xFE other than 0x7F. 0xFF starts nothing; 0x80 alone is the euro sign
// in both code page 936 and iconv's GBK.
bool isLead(unsigned char byte) {
    return byte >= 0x81 && byte <= 0xFE;
}

bool isTrail(unsigned char byte) {
    return byte >= 0x40 && byte <= 0xFE && byte != 0x7F;
}

// Code page 936 gives its user-defined areas (AAA1-AFFE, F8A1-FEFE, A140-A7A0
// and the like) code points in the Private Use Area; iconv's GBK assigns them
// nothing. Treated as unassigned, so both platforms show the same text.
bool isPrivateUse(wchar_t character) {
    return character >= 0xE000 && character <= 0xF8FF;
}

// One character of count bytes through the code page; MB_ERR_INVALID_CHARS
// makes an unassigned sequence fail rather than turn into a default
// character.
bool decodeOne(const char* bytes, int count, char32_t& out) {
    wchar_t wide[2] = {};
    if (MultiByteToWideChar(kGbkCodePage, MB_ERR_INVALID_CHARS, bytes, count, wide, 2) != 1 ||
        isPrivateUse(wide[0])) {
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
        } else if (available && byte == 0x80 && decodeOne(bytes + i, 1, character)) {
            used = 1;
        } else if (available && isLead(byte) && i + 1 < length &&
                   isTrail(static_cast<unsigned char>(bytes[i + 1])) &&
                   decodeOne(bytes + i, 2, character)) {
            used = 2;
        } else {
            character = kReplacementCharacter;
        }
        out.push_back(character);
        i += used;
    }
}
