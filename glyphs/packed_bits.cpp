#include "glyphs/packed_bits.h"

namespace {

unsigned char bitMask(int x) {
    return static_cast<unsigned char>(0x80u >> (x % 8));
}

}  // namespace

int packedRowBytes(int width) {
    return (width + 7) / 8;
}

bool packedBitAt(const unsigned char* row, int x) {
    return (row[x / 8] & bitMask(x)) != 0;
}

void setPackedBit(unsigned char* row, int x) {
    row[x / 8] |= bitMask(x);
}
