// The encoder's pictures from a device context: the source rectangle is copied into a
// 24-bit bottom-up DIB section with BitBlt at full size, or reduced into it with the
// system's halftone StretchBlt for a subsampled component.
#pragma once

#include <windows.h>

#include <string>

#include "snapshot/cjpeg.h"
#include "snapshot/jpeg_sampler.h"
#include "snapshot/win/c_image.h"

namespace orv {

class DcSampler final : public jpeg::PictureSampler {
public:
    // The rectangle (left, top, width x height) of dc; the DC must outlive the sampler.
    DcSampler(HDC dc, int left, int top, int width, int height);

    // False when the memory DC or its DIB section could not be made.
    bool Valid() const { return image_.hdc() != nullptr; }

    bool Prepare(int w, int h) override;
    const std::uint8_t* Row(int y) override;

private:
    HDC source_;
    int left_, top_, width_, height_;
    // (width x height) rounded up to multiples of 8; the pictures use its top-left corner.
    cImage image_;
};

// cJpeg's SampleHDC: reads, converts, transforms and quantises the rectangle of a DC.
// Returns 1 when no memory context or bitmap could be made, else 0.
int SampleHDC(cJpeg& jpeg, HDC dc, int width, int height, int left, int top);

// modJpeg's SaveJpeg for a cImage: the snapshot comment, the quality, the default sampling,
// the picture read through the image's DC, and the file written under the UTF-8 name (an
// existing file of that name is deleted first). Encoder errors propagate as JpegError.
void SaveJpeg(const cImage& image, const std::string& fileName, int quality);

}  // namespace orv
