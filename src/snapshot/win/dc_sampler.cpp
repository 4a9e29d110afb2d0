#include "snapshot/win/dc_sampler.h"

#include "snapshot/jpeg_file.h"
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

int SampleHDC(cJpeg& jpeg, HDC dc, int width, int height, int left, int top) {
    DcSampler sampler(dc, left, top, width, height);
    if (!sampler.Valid()) return 1;
    return jpeg.Sample(sampler, width, height);
}

namespace {

// The comment's characters in the system's ANSI code page, one byte each.
std::string ToAnsi(const std::string& utf8) {
    if (utf8.empty()) return {};
    const int n = MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(n), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, utf8.data(), static_cast<int>(utf8.size()), wide.data(), n);
    const int m = WideCharToMultiByte(CP_ACP, 0, wide.data(), n, nullptr, 0, nullptr, nullptr);
    std::string ansi(static_cast<std::size_t>(m), '\0');
    WideCharToMultiByte(CP_ACP, 0, wide.data(), n, ansi.data(), m, nullptr, nullptr);
    return ansi;
}

}  // namespace

void SaveJpeg(const cImage& image, const std::string& fileName, int quality) {
    cJpeg jpeg;
    jpeg.Quality(quality);
    jpeg.Comment(ToAnsi(SnapshotComment(quality)));
    SampleHDC(jpeg, image.hdc(), image.Width(), image.Height(), 0, 0);
    if (jpeg::FileExists(fileName)) jpeg::DeleteFileForced(fileName);
    jpeg.SaveFile(fileName);
}

}  // namespace orv
