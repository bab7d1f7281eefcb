// GBK (code page 936) bytes to Unicode code points, by the system's own
// converter.
#pragma once

#include <string>

// Shown in place of bytes that are not GBK, or a character cut off at the end.
inline constexpr char32_t kReplacementCharacter = 0xFFFD;

// False when the system has no GBK converter.
bool gbkDecoderAvailable();

// Decodes into out, reusing its storage. Every byte that cannot start a GBK
// character yields one replacement character and decoding goes on after it.
// Without a converter every byte above 0x7F is replaced.
void decodeGbkInto(const char* bytes, std::u32string& out);
