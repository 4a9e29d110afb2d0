// cImage: one device-independent bitmap (a DIB section) selected into its own memory DC,
// so the pixels can be drawn on with GDI and read directly as memory. Rows lie bottom-up,
// padded to 4 bytes (the layout of snapshot/image_rows.h). Copies and scaling are the
// system's block transfers; mirror and quarter turns move the pixels by the point mapping of
// image_rows.h. The whole-image operations return new images.
#pragma once

#include <windows.h>
#include <ocidl.h>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "base/win/handles.h"
#include "snapshot/image_rows.h"
#include "snapshot/packed_dib.h"

namespace orv {

class cImage {
public:
    cImage() = default;
    cImage(const cImage&) = delete;
    cImage& operator=(const cImage&) = delete;
    ~cImage() { Empty(); }

    std::int32_t Width() const { return width_; }
    std::int32_t Height() const { return height_; }
    std::int16_t BitCount() const { return bitCount_; }
    HDC hdc() const { return dc_.get(); }
    void* DIBitsPtr() const { return bits_; }
    std::int32_t BytesPerScanLine() const { return orv::BytesPerScanLine(width_, bitCount_); }

    // The pixels of a 24-bit image as a read-only view (empty for other bit counts). Call
    // GdiFlush first when GDI has drawn on the image since.
    BgrView View() const;

    // Makes an empty image of 1, 4, 8 (grey colour table) or 24 bits; false, and no
    // context, for any other bit count, a width or height not above 0 (rows are always
    // bottom-up), or when the system refuses.
    [[nodiscard]] bool Create(std::int32_t width, std::int32_t height, std::int16_t bitCount);

    // A copy of a bitmap picture. Bit count 0 takes the picture's own (16 and 32 bits as 24)
    // and, for a picture with a colour table, its colours. False, and empty, when the pixels
    // cannot be read (a bitmap still selected into another DC).
    [[nodiscard]] bool CopyStdPicture(HBITMAP picture, std::int16_t bitCount = 0);
    [[nodiscard]] bool CopyStdPicture(IPicture* picture, std::int16_t bitCount = 0);

    // A copy of the rectangle (srcLeft, srcTop, width x height) of a DC. Bit count 0 chooses
    // it from the DC's colour table: 1-2 entries 1 bit, 3-16 4 bits, 17-256 8 bits, none 24
    // bits; the entries read become the image's colours. False, and empty, when the DC cannot
    // be read. The bits are up to date when it returns.
    [[nodiscard]] bool CopyHDC(HDC dc, std::int32_t width, std::int32_t height, std::int16_t bitCount = 0,
                               std::int32_t srcLeft = 0, std::int32_t srcTop = 0);

    // Takes over the first 2^BitCount colour-table entries of a DC; true when some were read
    // and all of them were written.
    [[nodiscard]] bool CopyPalletHDC(HDC dc);

    // The pixels of a 24-bit image as a packed DIB (snapshot/packed_dib.h), for the clipboard
    // and bitmap files; empty for other bit counts.
    std::vector<std::uint8_t> PackedDib() const;

    // Draws the whole image onto a DC at (destLeft, destTop) with the raster operation.
    void PaintHDC(HDC dc, std::int32_t destLeft = 0, std::int32_t destTop = 0, DWORD rop = SRCCOPY) const;

    // New images; null when one cannot be made.
    std::unique_ptr<cImage> Greyscale() const;                                   // 8 bits, nearest grey
    std::unique_ptr<cImage> Resample(std::int32_t width, std::int32_t height) const;  // halftone scaling
    std::unique_ptr<cImage> Mirror(bool vertical) const;  // upside down, or left to right
    std::unique_ptr<cImage> Rotate(std::int32_t degrees) const;  // 90 anticlockwise, 180, 270; else null

private:
    struct InfoBlock {
        BITMAPINFOHEADER header;
        std::array<RGBQUAD, 256> colours;
    };

    void Empty();
    // The pixels of a bitmap (and its colours when asked) into this image, made to its size.
    bool ReadBitmap(HBITMAP picture, bool withColours);
    // A new image of the given size and this one's bit count, with this one's colours.
    std::unique_ptr<cImage> Blank(std::int32_t width, std::int32_t height) const;
    std::unique_ptr<cImage> Transformed(std::int32_t width, std::int32_t height, const PlgPoints& pts) const;

    // Declared in this order so the DIB is selected out (Empty) and deleted before the DC.
    UniqueDc dc_;
    UniqueBitmap dib_;
    HGDIOBJ previous_ = nullptr;
    void* bits_ = nullptr;
    std::int32_t width_ = 0;
    std::int32_t height_ = 0;
    std::int16_t bitCount_ = 0;
    InfoBlock info_{};
    std::array<RGBQUAD, 256> scratch_{};  // colours read from another DC
};

}  // namespace orv
