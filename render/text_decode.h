// The screen texts' GBK bytes as code points, with a small cache so a text
// shown frame after frame is decoded only once. The decoding itself is the
// system's (platform/gbk.h).
#pragma once

#include <string>

#include "platform/gbk.h"

// How many recent distinct texts stay decoded. Covers every line of a phase;
// a score that changes every tick only recycles the oldest entries.
inline constexpr int kDecodedTextSlots = 16;

std::u32string decodeGbk(const char* bytes);

// The code points of text, decoded on the first request for these bytes and
// kept while they stay among the recent texts. The reference is valid until
// the next call.
const std::u32string& decodedText(const char* bytes);
