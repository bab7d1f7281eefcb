#include "render/text_decode.h"

#include <array>
#include <cstdint>

#include "render/diagnostics.h"

namespace {

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
