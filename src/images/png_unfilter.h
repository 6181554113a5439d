// Undoing PNG's row filters (none, sub, up, average, Paeth) for 1 to 4 bytes per pixel.
#pragma once

#include <cstddef>
#include <cstdint>

namespace dw {

// Undoes the filter of one row of `n` bytes (a multiple of `bpp`, 1 to 4 bytes per pixel);
// `prior` is the previous unfiltered row (all zero for the first), apart from the other two.
// `row` may lie over `in` at a lower address (rows unfiltered in place and packed): every byte of
// `in` is read before a byte of `row` at or above it is written. Returns false for a filter type
// other than 0 to 4. Sub and average rows of 3 and 4 bytes per pixel take vector loops
// where the processor has them.
bool UnfilterRow(uint8_t filter, const uint8_t* in, const uint8_t* prior, uint8_t* row, size_t n, size_t bpp);

// The same byte by byte, without vector loops: the reference the vector loops are tested against.
bool UnfilterRowPlain(uint8_t filter, const uint8_t* in, const uint8_t* prior, uint8_t* row, size_t n, size_t bpp);

}  // namespace dw
