#include "images/png_unfilter.h"

#include <cstdlib>
#include <cstring>

#include "images/png_unfilter_parts.h"

namespace dw {
namespace {

constexpr size_t kUpBlock = 32;  // bytes of the up filter added at a time

// The predictor nearest to a + b - c; ties go to a, then b.
inline int Paeth(int a, int b, int c) {
  const int p = b - c, q = a - c;
  int pa = std::abs(p);
  const int pb = std::abs(q), pc = std::abs(p + q);
  if (pb < pa) {
    pa = pb;
    a = b;
  }
  return pc < pa ? c : a;
}

// UnfilterRowPlain with kBpp bytes per pixel. The left neighbours are carried in registers: the
// filters that use them run along the row one pixel at a time.
template <size_t kBpp>
bool UnfilterPlain(uint8_t filter, const uint8_t* in, const uint8_t* __restrict prior, uint8_t* row, size_t n) {
  uint8_t a[kBpp], c[kBpp];  // left neighbours in this row and in the prior one
  switch (filter) {
    case 0:
      std::memmove(row, in, n);
      return true;
    case 1:
      for (size_t k = 0; k < kBpp; ++k) a[k] = row[k] = in[k];
      for (size_t x = kBpp; x < n; x += kBpp) {
        for (size_t k = 0; k < kBpp; ++k) a[k] = row[x + k] = static_cast<uint8_t>(in[x + k] + a[k]);
      }
      return true;
    case 2: {
      size_t x = 0;
      for (; x + kUpBlock <= n; x += kUpBlock) {  // a block read whole, then written
        uint8_t sum[kUpBlock];
        for (size_t k = 0; k < kUpBlock; ++k) sum[k] = static_cast<uint8_t>(in[x + k] + prior[x + k]);
        std::memcpy(row + x, sum, kUpBlock);
      }
      for (; x < n; ++x) row[x] = static_cast<uint8_t>(in[x] + prior[x]);
      return true;
    }
    case 3:
      for (size_t k = 0; k < kBpp; ++k) a[k] = row[k] = static_cast<uint8_t>(in[k] + (prior[k] >> 1));
      for (size_t x = kBpp; x < n; x += kBpp) {
        for (size_t k = 0; k < kBpp; ++k) {
          a[k] = row[x + k] = static_cast<uint8_t>(in[x + k] + ((a[k] + prior[x + k]) >> 1));
        }
      }
      return true;
    case 4:
      for (size_t k = 0; k < kBpp; ++k) {
        a[k] = row[k] = static_cast<uint8_t>(in[k] + prior[k]);
        c[k] = prior[k];
      }
      for (size_t x = kBpp; x < n; x += kBpp) {
        for (size_t k = 0; k < kBpp; ++k) {
          const uint8_t b = prior[x + k];
          a[k] = row[x + k] = static_cast<uint8_t>(in[x + k] + Paeth(a[k], b, c[k]));
          c[k] = b;
        }
      }
      return true;
    default:
      return false;
  }
}

}  // namespace

bool UnfilterRowPlain(uint8_t filter, const uint8_t* in, const uint8_t* prior, uint8_t* row, size_t n, size_t bpp) {
  switch (bpp) {
    case 1: return UnfilterPlain<1>(filter, in, prior, row, n);
    case 2: return UnfilterPlain<2>(filter, in, prior, row, n);
    case 3: return UnfilterPlain<3>(filter, in, prior, row, n);
    default: return UnfilterPlain<4>(filter, in, prior, row, n);
  }
}

bool UnfilterRow(uint8_t filter, const uint8_t* in, const uint8_t* prior, uint8_t* row, size_t n, size_t bpp) {
#if defined(DW_UNFILTER_SSE2)
  if (bpp == 3 || bpp == 4) {
    switch (filter) {
      case 1:
        (bpp == 3 ? unfilter::Sub3Sse2 : unfilter::Sub4Sse2)(in, row, n);
        return true;
      case 3:
        (bpp == 3 ? unfilter::Average3Sse2 : unfilter::Average4Sse2)(in, prior, row, n);
        return true;
      default:
        break;
    }
  }
#endif
  return UnfilterRowPlain(filter, in, prior, row, n, bpp);
}

}  // namespace dw
