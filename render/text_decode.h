// GBK bytes to Unicode code points through the C library's iconv, with a
// small cache so a text shown frame after frame is decoded only once.
#pragma once

#include <string>

// Shown in place of bytes that are not GBK, or a character cut off at the end.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// How many recent distinct texts stay decoded. Covers every line of a phase;
// a score that changes every tick only recycles the oldest entries.
inline constexpr int kDecodedTextSlots = 16;

// False when the C library has no GBK converter (its gconv modules missing).
bool gbkDecoderAvailable();

// Decodes into out, reusing its storage. Every byte that cannot start a GBK
// character yields one replacement character and decoding goes on after it.
// Without a converter every byte above 0x7F is replaced.
void decodeGbkInto(const char* bytes, std::u32string& out);

std::u32string decodeGbk(const char* bytes);

// The code points of text, decoded on the first request for these bytes and
// kept while they stay among the recent texts. The reference is valid until
// the next call.
const std::u32string& decodedText(const char* bytes);

// How many times decodedText has had to run the decoder.
int decodedTextMisses();
