// Helpers of the snapshot's Win32 tests: pictures drawn into real DIB sections, pixels read
// back through GDI, JPEG files decoded by the system's own decoder (WIC).
#pragma once

#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "snapshot/image_rows.h"
#include "snapshot/win/c_image.h"

namespace orv::test {

// A DIB section (bottom-up) of the bit count with the colour table (ignored for more than
// 8 bits); null when the system refuses.
HBITMAP MakeDib(int width, int height, int bitCount, const std::vector<RGBQUAD>& colours = {});

// A 24-bit cImage holding the picture's pixels.
bool FillImage(cImage& image, const BgrPicture& picture);

// The colour GDI reports for the pixel (0x00BBGGRR).
COLORREF PixelAt(HDC dc, int x, int y);

// The palette index of pixel (x, y) of a 1, 4 or 8-bit image, read from its memory.
int IndexAt(const cImage& image, int x, int y);

// The file's pixels decoded by WIC as 24-bit blue-green-red; an empty picture on failure.
BgrPicture DecodeWithWic(const std::wstring& path);

// Peak signal-to-noise ratio over all channels of two pictures of the same size.
double Psnr(const BgrPicture& a, const BgrView& b);

// The whole file; empty when it cannot be read.
std::vector<std::uint8_t> ReadAll(const std::wstring& path);

// A folder of its own under the temporary folder, removed with its files at the end.
class TempFolder {
public:
    TempFolder();
    ~TempFolder();
    const std::wstring& Path() const { return path_; }
private:
    std::wstring path_;
};

}  // namespace orv::test
