#include "snapshot/jpeg_sampler.h"

#include <algorithm>

#include "snapshot/jpeg_simd.h"

namespace orv::jpeg {

namespace {
#ifdef ORV_JPEG_SSE2
// Vertical sums, in 16-bit words, of 24 source bytes of rows a and b from byte offset i:
// bytes 0..7 in lo, 8..15 in hi, 16..23 in tl.
struct RowPairSums {
    __m128i lo, hi, tl;
};
inline RowPairSums SumRowPair(const std::uint8_t* a, const std::uint8_t* b, int i) {
    const __m128i zero = _mm_setzero_si128();
    const __m128i a0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(a + i));
    const __m128i b0 = _mm_loadu_si128(reinterpret_cast<const __m128i*>(b + i));
    const __m128i a1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(a + i + 16));
    const __m128i b1 = _mm_loadl_epi64(reinterpret_cast<const __m128i*>(b + i + 16));
    return {_mm_add_epi16(_mm_unpacklo_epi8(a0, zero), _mm_unpacklo_epi8(b0, zero)),
            _mm_add_epi16(_mm_unpackhi_epi8(a0, zero), _mm_unpackhi_epi8(b0, zero)),
            _mm_add_epi16(_mm_unpacklo_epi8(a1, zero), _mm_unpacklo_epi8(b1, zero))};
}
#endif

#ifdef ORV_JPEG_AVX2
bool HasAvx2() {
    static const bool has = __builtin_cpu_supports("avx2");
    return has;
}

// Halves rows a and b into out (the same rounding as the plain loop: (sum of four + 2) / 4
// truncated) for output pixels 0 .. up to w, four at a time while a 16-byte store fits;
// returns where it stopped. Vertical sums in 16-bit words v[0..23]; each output byte is
// v[j] + v[j + 3] for j = 6p + c, made for all j by adding the words shifted by three.
__attribute__((target("avx2"))) int HalveRowsAvx2(const std::uint8_t* a, const std::uint8_t* b, int w, std::uint8_t* out) {
    const __m128i zero = _mm_setzero_si128(), two = _mm_set1_epi16(2);
    const __m128i pick01 = _mm_setr_epi8(0, 1, 2, 6, 7, 8, 12, 13, 14, -1, -1, -1, -1, -1, -1, -1);
    const __m128i pick2 = _mm_setr_epi8(-1, -1, -1, -1, -1, -1, -1, -1, -1, 2, 3, 4, -1, -1, -1, -1);
    int x = 0;
    for (; x + 6 <= w; x += 4) {
        const auto [lo, hi, tl] = SumRowPair(a, b, 6 * x);
        const __m128i s0 = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(lo, _mm_alignr_epi8(hi, lo, 6)), two), 2);
        const __m128i s1 = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(hi, _mm_alignr_epi8(tl, hi, 6)), two), 2);
        const __m128i s2 = _mm_srli_epi16(_mm_add_epi16(_mm_add_epi16(tl, _mm_srli_si128(tl, 6)), two), 2);
        const __m128i r = _mm_or_si128(_mm_shuffle_epi8(_mm_packus_epi16(s0, s1), pick01),
                                       _mm_shuffle_epi8(_mm_packus_epi16(s2, zero), pick2));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(out + 3 * x), r);
    }
    return x;
}
#endif
}  // namespace

BufferSampler::BufferSampler(const BgrView& source, int left, int top, int width, int height)
    : src_(source), left_(left), top_(top), width_(width), height_(height) {}

bool BufferSampler::Valid() const {
    return src_.bits && width_ > 0 && height_ > 0 && left_ >= 0 && top_ >= 0 &&
           static_cast<std::int64_t>(left_) + width_ <= src_.width &&
           static_cast<std::int64_t>(top_) + height_ <= src_.height;
}

std::unique_ptr<PictureSampler> BufferSampler::Twin() const {
    return std::make_unique<BufferSampler>(src_, left_, top_, width_, height_);
}

bool BufferSampler::Prepare(int w, int h) {
    if (!Valid() || w <= 0 || h <= 0 || w > width_ || h > height_) return false;
    w_ = w;
    h_ = h;
    lastRow_ = -1;
    if (w == width_ && h == height_) return true;
    halves_ = 2 * w == width_ && 2 * h == height_;
    row_.assign(static_cast<std::size_t>(3 * w), 0);
    if (halves_) return true;
    // Output pixel x covers [x * W, (x + 1) * W) and source pixel s covers [s * w, (s + 1) * w)
    // in units of 1 / w source pixels; the overlaps are the weights (they sum to W).
    first_.assign(static_cast<std::size_t>(w), 0);
    count_.assign(static_cast<std::size_t>(w), 0);
    weight_.clear();
    for (int x = 0; x < w; ++x) {
        const std::int64_t a = static_cast<std::int64_t>(x) * width_, b = a + width_;
        const int s0 = static_cast<int>(a / w), s1 = static_cast<int>((b - 1) / w);
        first_[static_cast<std::size_t>(x)] = s0;
        count_[static_cast<std::size_t>(x)] = s1 - s0 + 1;
        for (int s = s0; s <= s1; ++s) {
            const std::int64_t lo = std::max<std::int64_t>(a, static_cast<std::int64_t>(s) * w);
            const std::int64_t hi = std::min<std::int64_t>(b, static_cast<std::int64_t>(s + 1) * w);
            weight_.push_back(static_cast<std::uint32_t>(hi - lo));
        }
    }
    acc_.assign(static_cast<std::size_t>(3 * w), 0);
    return true;
}

const std::uint8_t* BufferSampler::Row(int y) {
    if (w_ == width_ && h_ == height_) return src_.Row(top_ + y) + 3 * left_;
    if (y != lastRow_) {
        ReduceRow(y);
        lastRow_ = y;
    }
    return row_.data();
}

void BufferSampler::ReduceRow(int y) {
    std::uint8_t* out = row_.data();
    if (halves_) {
        const std::uint8_t* a = src_.Row(top_ + 2 * y) + 3 * left_;
        const std::uint8_t* b = src_.Row(top_ + 2 * y + 1) + 3 * left_;
        int x = 0;
#ifdef ORV_JPEG_AVX2
        if (HasAvx2()) x = HalveRowsAvx2(a, b, w_, out);
#endif
#ifdef ORV_JPEG_SSE2
        // Four output pixels (12 bytes) from 24 source bytes of each row.
        for (; x + 4 <= w_; x += 4) {  // 24 source bytes of each row
            const auto [lo, hi, tl] = SumRowPair(a, b, 6 * x);
            alignas(16) std::uint16_t v[24];
            _mm_store_si128(reinterpret_cast<__m128i*>(v), lo);
            _mm_store_si128(reinterpret_cast<__m128i*>(v + 8), hi);
            _mm_store_si128(reinterpret_cast<__m128i*>(v + 16), tl);
            for (int p = 0; p < 4; ++p) {
                for (int c = 0; c < 3; ++c) {
                    out[3 * (x + p) + c] = static_cast<std::uint8_t>((v[6 * p + c] + v[6 * p + 3 + c] + 2) >> 2);
                }
            }
        }
#endif
        for (; x < w_; ++x) {
            for (int c = 0; c < 3; ++c) {
                const int s = a[6 * x + c] + a[6 * x + 3 + c] + b[6 * x + c] + b[6 * x + 3 + c];
                out[3 * x + c] = static_cast<std::uint8_t>((s + 2) >> 2);
            }
        }
        return;
    }
    // Rows: output row y covers [y * H, (y + 1) * H) in units of 1 / h source rows.
    const std::int64_t a = static_cast<std::int64_t>(y) * height_, b = a + height_;
    const int s0 = static_cast<int>(a / h_), s1 = static_cast<int>((b - 1) / h_);
    std::fill(acc_.begin(), acc_.end(), 0);
    for (int s = s0; s <= s1; ++s) {
        const std::uint64_t wy = static_cast<std::uint64_t>(
            std::min<std::int64_t>(b, static_cast<std::int64_t>(s + 1) * h_) -
            std::max<std::int64_t>(a, static_cast<std::int64_t>(s) * h_));
        const std::uint8_t* src = src_.Row(top_ + s) + 3 * left_;
        std::size_t k = 0;
        for (int x = 0; x < w_; ++x) {
            std::uint32_t sum[3] = {0, 0, 0};
            const std::uint8_t* p = src + 3 * first_[static_cast<std::size_t>(x)];
            for (int i = 0; i < count_[static_cast<std::size_t>(x)]; ++i, ++k, p += 3) {
                const std::uint32_t wx = weight_[k];
                sum[0] += wx * p[0];
                sum[1] += wx * p[1];
                sum[2] += wx * p[2];
            }
            for (int c = 0; c < 3; ++c) acc_[static_cast<std::size_t>(3 * x + c)] += wy * sum[c];
        }
    }
    const std::uint64_t total = static_cast<std::uint64_t>(width_) * static_cast<std::uint64_t>(height_);
    for (std::size_t i = 0; i < acc_.size(); ++i) out[i] = static_cast<std::uint8_t>((acc_[i] + total / 2) / total);
}

}  // namespace orv::jpeg
