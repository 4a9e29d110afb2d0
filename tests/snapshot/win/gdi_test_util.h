// Helpers of the snapshot's Win32 tests: pictures put into real DIB sections, pixels read
// back through GDI, JPEG files decoded by the system (WIC, through the program's converter).
#pragma once

#include <windows.h>

#include <algorithm>
#include <cstring>

#include "app/win/default_wallpapers.h"
#include "common/test_files.h"
#include "snapshot/win/c_image.h"

namespace orv::test {

// A bottom-up DIB section of the bit count with the colour table (8 bits or fewer).
inline HBITMAP MakeDib(int width, int height, int bitCount, const std::vector<RGBQUAD>& colours = {}) {
    struct { BITMAPINFOHEADER h; RGBQUAD c[256]; } info{{sizeof(BITMAPINFOHEADER), width, height, 1, static_cast<WORD>(bitCount), BI_RGB, 0, 0, 0, bitCount <= 8 ? static_cast<DWORD>(colours.size()) : 0, 0}, {}};
    std::copy_n(colours.begin(), std::min<std::size_t>(info.h.biClrUsed, 256), info.c);
    void* bits = nullptr;
    return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
}

// A 24-bit cImage holding the picture's pixels, written through its own row layout.
inline bool FillImage(cImage& image, const BgrPicture& picture) {
    if (!image.Create(picture.Width(), picture.Height(), 24)) return false;
    GdiFlush();
    for (int y = 0; y < picture.Height(); ++y)
        std::copy_n(picture.Row(y), 3 * picture.Width(), static_cast<std::uint8_t*>(image.DIBitsPtr()) + (picture.Height() - 1 - y) * image.BytesPerScanLine());
    return true;
}

// The colour GDI reports for a pixel; the palette index of a pixel of a 1, 4 or 8-bit image.
inline COLORREF PixelAt(HDC dc, int x, int y) { return GdiFlush(), GetPixel(dc, x, y); }
inline int IndexAt(const cImage& image, int x, int y) {
    GdiFlush();
    const auto* row = static_cast<const std::uint8_t*>(image.DIBitsPtr()) + (image.Height() - 1 - y) * image.BytesPerScanLine();
    const int bits = image.BitCount(), perByte = 8 / bits;
    return (row[x / perByte] >> (8 - bits * (x % perByte + 1))) & ((1 << bits) - 1);
}

// The file's picture as the system decodes it (a bottom-up 24-bit bitmap: the picture's own
// layout); an empty picture when it cannot.
inline BgrPicture DecodeWithSystem(const std::string& file) {
    if (!ConvertPictureToBmp(file, file + ".bmp")) return {};
    const std::string bmp = ReadFile(PathFromUtf8(file + ".bmp"));
    std::int32_t at[6];
    std::memcpy(at, bmp.data() + 10, sizeof at);  // offset 10: pixels; 18: width; 22: height
    BgrPicture p(at[2], at[3]);
    std::memcpy(p.Bits(), bmp.data() + at[0], static_cast<std::size_t>(p.Stride() * p.Height()));
    return p;
}

}  // namespace orv::test
