// Finding one byte value in a stretch of bytes, the innermost loop of loading
// a file. The C runtime of the Windows build (msvcrt.dll) looks at one byte at
// a time, several times slower than a 16-byte compare; elsewhere the C
// library's memchr is the fastest loop there is.
#pragma once

#include <cstring>

#if defined(_WIN32) && defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace mosaikon {

// The first `byte` in [from, end), or null.
inline const char* FindByte(const char* from, const char* end, char byte) {
#if defined(_WIN32) && defined(__SSE2__)
  const __m128i wanted = _mm_set1_epi8(byte);
  for (; end - from >= 16; from += 16) {
    const int hits = _mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(from)), wanted));
    if (hits != 0) return from + __builtin_ctz(static_cast<unsigned>(hits));
  }
  for (; from < end; ++from) {
    if (*from == byte) return from;
  }
  return nullptr;
#else
  return static_cast<const char*>(std::memchr(from, byte, static_cast<std::size_t>(end - from)));
#endif
}

}  // namespace mosaikon
