// Which vector instructions the encoder's fast paths may use. SSE2 is always there on
// x86-64; AVX2 is chosen at run time, per function, where GCC and Clang allow it.
#pragma once

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#define ORV_JPEG_SSE2 1
#endif
// AVX2 by run-time choice: GCC and Clang on x86-64 (function-level target attributes).
#if defined(ORV_JPEG_SSE2) && defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#define ORV_JPEG_AVX2 1
#endif
