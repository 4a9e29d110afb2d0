// Where the encoder's pictures come from. For each sampled size the encoder asks for the
// source rectangle at that size (a copy when it is the full size, a reduction otherwise)
// and then reads it row by row from the top. The Win32 skin answers with a DIB section
// filled by BitBlt or halftone StretchBlt; the portable BufferSampler reads a 24-bit
// buffer and reduces it with an area-averaging filter. Portable.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "snapshot/image_rows.h"

namespace orv::jpeg {

class PictureSampler {
public:
    virtual ~PictureSampler() = default;
    // Makes the source rectangle available as a w x h picture; false when it cannot.
    virtual bool Prepare(int w, int h) = 0;
    // Row y (0 = top) of the prepared picture: 3 * w bytes, blue, green, red. Rows are
    // asked for in increasing order, a row possibly more than once.
    virtual const std::uint8_t* Row(int y) = 0;
    // A second, independent sampler of the same source rectangle, so that two sizes can be
    // read side by side (the encoder then makes every component in one pass down the
    // picture, while the source rows are in the cache); null when there is none, and the
    // sizes are then made one after the other.
    virtual std::unique_ptr<PictureSampler> Twin() const { return nullptr; }
};

// The rectangle (left, top, width x height) of a 24-bit bottom-up buffer. A reduced
// picture is made one row at a time: each output pixel is the average of the source area
// it covers, weighted by the covered fraction of each source pixel, rounded to nearest.
class BufferSampler final : public PictureSampler {
public:
    BufferSampler(const BgrView& source, int left, int top, int width, int height);

    // True when the rectangle lies inside the buffer.
    bool Valid() const;

    bool Prepare(int w, int h) override;
    const std::uint8_t* Row(int y) override;
    std::unique_ptr<PictureSampler> Twin() const override;

private:
    void ReduceRow(int y);

    BgrView src_;
    int left_, top_, width_, height_;
    int w_ = 0, h_ = 0;
    int lastRow_ = -1;
    bool halves_ = false;  // exactly half the size both ways
    std::vector<std::uint8_t> row_;
    // Horizontal weights: for output pixel x, source pixels first_[x] .. and their weights.
    std::vector<int> first_, count_;
    std::vector<std::uint32_t> weight_;
    std::vector<std::uint64_t> acc_;
};

}  // namespace orv::jpeg
