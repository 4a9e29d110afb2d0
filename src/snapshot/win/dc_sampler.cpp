#include "snapshot/win/dc_sampler.h"

#include "base/win/utf.h"
#include "snapshot/mod_jpeg.h"

namespace orv {

DcSampler::DcSampler(HDC dc, int left, int top, int width, int height)
    : source_(dc), left_(left), top_(top), width_(width), height_(height) {
    if (!dc || width <= 0 || height <= 0) return;
    if (!image_.Create((width + 7) & ~7, (height + 7) & ~7, 24)) return;
    if (!SetStretchBltMode(image_.hdc(), HALFTONE)) SetStretchBltMode(image_.hdc(), COLORONCOLOR);
    SetBrushOrgEx(image_.hdc(), 0, 0, nullptr);
}

bool DcSampler::Prepare(int w, int h) {
    if (!Valid() || w <= 0 || h <= 0 || w > width_ || h > height_) return false;
    const BOOL done = w == width_ && h == height_
                          ? BitBlt(image_.hdc(), 0, 0, w, h, source_, left_, top_, SRCCOPY)
                          : StretchBlt(image_.hdc(), 0, 0, w, h, source_, left_, top_, width_, height_, SRCCOPY);
    GdiFlush();  // the rows are read straight from the DIB's memory
    return done != FALSE;
}

const std::uint8_t* DcSampler::Row(int y) {
    return image_.View().Row(y);
}

void SaveJpeg(const cImage& image, const std::string& fileName, int quality) {
    SaveJpeg(image.hdc(), 0, 0, image.Width(), image.Height(), fileName, quality);
}

void SaveJpeg(HDC dc, int left, int top, int width, int height, const std::string& fileName, int quality) {
    DcSampler sampler(dc, left, top, width, height);
    // The comment's characters in the system's ANSI code page, one byte each.
    const std::string comment = ToCodePage(Widen(SnapshotComment(quality)), CP_ACP);
    SaveJpeg(sampler, width, height, comment, fileName, quality);
}

}  // namespace orv
