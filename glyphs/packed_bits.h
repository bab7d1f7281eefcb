// One-bit pixel rows as glBitmap takes them and FreeType renders them: one
// bit a pixel, the most significant bit of each byte leftmost, each row in
// whole bytes.
#pragma once

// The bytes that hold a row of width pixels.
int packedRowBytes(int width);

// Whether pixel x of the row is set.
bool packedBitAt(const unsigned char* row, int x);

// Sets pixel x of the row.
void setPackedBit(unsigned char* row, int x);
