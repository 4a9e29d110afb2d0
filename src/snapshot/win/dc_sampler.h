// The encoder's pictures from a device context: the source rectangle is copied into a
// 24-bit bottom-up DIB section with BitBlt at full size, or reduced into it with the
// system's halftone StretchBlt for a subsampled component.
#pragma once

#include <windows.h>

#include <string>

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

// modJpeg's SaveJpeg for a cImage: the picture read through the image's DC, the snapshot
// comment in the system's ANSI code page (snapshot/mod_jpeg.h says the rest).
void SaveJpeg(const cImage& image, const std::string& fileName, int quality);
// The same for the rectangle (left, top, width x height) of a device context.
void SaveJpeg(HDC dc, int left, int top, int width, int height, const std::string& fileName, int quality);

}  // namespace orv
