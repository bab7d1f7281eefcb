#include "render/text_decode.h"

#include <iconv.h>

#include <array>
#include <cstdint>
#include <cstring>

namespace {

// char32_t in the machine's own byte order; plain "UTF-32" would add a BOM.
#if __BYTE_ORDER__ == __ORDER_BIG_ENDIAN__
constexpr char kUtf32[] = "UTF-32BE";
#else
constexpr char kUtf32[] = "UTF-32LE";
#endif

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);

// Opened on first use and kept for the process: opening loads a gconv module.
iconv_t gbkConverter() {
    static const iconv_t converter = iconv_open(kUtf32, "GBK");
    return converter;
}

void decodeAsciiOnly(const char* bytes, std::size_t length, std::u32string& out) {
    for (std::size_t i = 0; i < length; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        out.push_back(byte < 0x80 ? char32_t{byte} : kReplacementCharacter);
    }
}

// Runs iconv over the whole input into out, which has one char32_t of room per
// input byte (no GBK character is shorter than one byte). Returns the number
// of code points written.
std::size_t convert(iconv_t converter, const char* bytes, std::size_t length, char32_t* out) {
    iconv(converter, nullptr, nullptr, nullptr, nullptr);
    char* in = const_cast<char*>(bytes);
    std::size_t inLeft = length;
    char* next = reinterpret_cast<char*>(out);
    std::size_t outLeft = length * sizeof(char32_t);
    while (inLeft > 0) {
        if (iconv(converter, &in, &inLeft, &next, &outLeft) != static_cast<std::size_t>(-1)) {
            break;
        }
        // An invalid or truncated sequence: one replacement, then resync on
        // the following byte. E2BIG cannot happen with one slot per byte.
        std::memcpy(next, &kReplacementCharacter, sizeof(char32_t));
        next += sizeof(char32_t);
        outLeft -= sizeof(char32_t);
        ++in;
        --inLeft;
    }
    return (length * sizeof(char32_t) - outLeft) / sizeof(char32_t);
}

struct DecodedSlot {
    std::string bytes;
    std::u32string codePoints;
    std::uint64_t lastUse = 0;  // 0: never filled
};

std::array<DecodedSlot, kDecodedTextSlots> slots;
std::uint64_t useClock = 0;
int misses = 0;

DecodedSlot* findSlot(const char* bytes) {
    for (DecodedSlot& slot : slots) {
        if (slot.lastUse != 0 && slot.bytes == bytes) {
            return &slot;
        }
    }
    return nullptr;
}

DecodedSlot& leastRecentSlot() {
    DecodedSlot* oldest = &slots[0];
    for (DecodedSlot& slot : slots) {
        if (slot.lastUse < oldest->lastUse) {
            oldest = &slot;
        }
    }
    return *oldest;
}

}  // namespace

bool gbkDecoderAvailable() {
    return gbkConverter() != kNoConverter;
}

void decodeGbkInto(const char* bytes, std::u32string& out) {
    const std::size_t length = std::strlen(bytes);
    out.clear();
    if (!gbkDecoderAvailable()) {
        decodeAsciiOnly(bytes, length, out);
        return;
    }
    // resize within the kept capacity does not allocate once warmed up.
    out.resize(length);
    out.resize(convert(gbkConverter(), bytes, length, out.data()));
}

std::u32string decodeGbk(const char* bytes) {
    std::u32string codePoints;
    decodeGbkInto(bytes, codePoints);
    return codePoints;
}

const std::u32string& decodedText(const char* bytes) {
    DecodedSlot* slot = findSlot(bytes);
    if (slot == nullptr) {
        slot = &leastRecentSlot();
        slot->bytes.assign(bytes);
        decodeGbkInto(bytes, slot->codePoints);
        ++misses;
    }
    slot->lastUse = ++useClock;
    return slot->codePoints;
}

int decodedTextMisses() {
    return misses;
}
