// Counts CR and LF bytes as a text goes by, 16 bytes at a time where SSE2 is
// there. Both the cleaning pass of a load and CountBreaks feed their bytes
// through one counter, so the tally is kept in one place.
#pragma once

#include <cstddef>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "document/line_splitter.h"

namespace mosaikon {

class BreakCounter {
 public:
#if defined(__SSE2__)
  // Adds the breaks of one 16-byte block.
  void AddBlock(__m128i block) {
    // Per-byte lanes (a match is -1, so subtracting counts up) would wrap
    // after 255 blocks: add them up before that.
    crs_ = _mm_sub_epi8(crs_, _mm_cmpeq_epi8(block, _mm_set1_epi8('\r')));
    lfs_ = _mm_sub_epi8(lfs_, _mm_cmpeq_epi8(block, _mm_set1_epi8('\n')));
    if (++blocks_ == kMaxBlocks) Drain();
  }
#endif

  void AddByte(char byte) {
    counts_.cr += byte == '\r';
    counts_.lf += byte == '\n';
  }

  BreakCounts Total() {
#if defined(__SSE2__)
    Drain();
#endif
    return counts_;
  }

 private:
#if defined(__SSE2__)
  static constexpr int kMaxBlocks = 255;

  void Drain() {
    const __m128i zero = _mm_setzero_si128();
    const __m128i crSums = _mm_sad_epu8(crs_, zero);
    const __m128i lfSums = _mm_sad_epu8(lfs_, zero);
    counts_.cr += static_cast<std::size_t>(_mm_cvtsi128_si32(crSums) + _mm_extract_epi16(crSums, 4));
    counts_.lf += static_cast<std::size_t>(_mm_cvtsi128_si32(lfSums) + _mm_extract_epi16(lfSums, 4));
    crs_ = zero;
    lfs_ = zero;
    blocks_ = 0;
  }

  __m128i crs_ = _mm_setzero_si128();
  __m128i lfs_ = _mm_setzero_si128();
  int blocks_ = 0;
#endif
  BreakCounts counts_;
};

}  // namespace mosaikon
