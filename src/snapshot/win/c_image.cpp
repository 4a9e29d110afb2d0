#include "snapshot/win/c_image.h"

#include <olectl.h>

#include <algorithm>

namespace orv {
namespace {

// Number of colour-table entries of an image of this bit count (0 for 24 bits).
UINT TableSize(std::int16_t bitCount) { return bitCount <= 8 ? 1u << bitCount : 0u; }

// A memory DC for images with a colour table: compatible with a display DC made for the
// purpose and deleted right after.
HDC DisplayCompatibleDc() {
    HDC display = CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr);
    if (!display) return nullptr;
    HDC mem = CreateCompatibleDC(display);
    DeleteDC(display);
    return mem;
}

// Whether the bitmap is the one selected into the DC (a select fails for a bitmap that
// another DC holds).
bool Holds(HDC dc, HBITMAP bitmap) { return GetCurrentObject(dc, OBJ_BITMAP) == bitmap; }

}  // namespace

BgrView cImage::View() const {
    if (!bits_ || bitCount_ != 24) return {};
    return {static_cast<const std::uint8_t*>(bits_), width_, height_, BytesPerScanLine()};
}

std::vector<std::uint8_t> cImage::PackedDib() const {
    GdiFlush();
    return PackedDib24(View());
}

void cImage::Empty() {
    if (dc_) {
        SelectObject(dc_.get(), previous_);
        dib_.reset();
        dc_.reset();
    }
    dib_.reset();
    previous_ = nullptr;
    bits_ = nullptr;
    width_ = height_ = 0;
    bitCount_ = 0;
}

bool cImage::Create(std::int32_t width, std::int32_t height, std::int16_t bitCount) {
    Empty();
    // Rows lie bottom-up: a negative height would make a top-down section that every reader
    // of the bits takes upside down. The image's byte count must fit the header's 32 bits.
    const std::int32_t rowBytes = orv::BytesPerScanLine(width, bitCount);
    if (width <= 0 || height <= 0 || rowBytes == 0 ||
        static_cast<std::uint64_t>(rowBytes) * static_cast<std::uint64_t>(height) > UINT32_MAX)
        return false;
    UniqueDc dc;
    if (bitCount == 1 || bitCount == 4 || bitCount == 8) dc.reset(DisplayCompatibleDc());
    else if (bitCount == 24) dc.reset(CreateCompatibleDC(nullptr));
    if (!dc) return false;

    info_ = {};
    BITMAPINFOHEADER& h = info_.header;
    h.biSize = sizeof(BITMAPINFOHEADER);
    h.biWidth = width;
    h.biHeight = height;
    h.biPlanes = 1;
    h.biBitCount = static_cast<WORD>(bitCount);
    h.biCompression = BI_RGB;
    h.biSizeImage = static_cast<DWORD>(rowBytes) * static_cast<DWORD>(height);
    const std::vector<RgbQuad> ramp = GreyRamp(bitCount);
    for (std::size_t i = 0; i < ramp.size(); ++i) {
        info_.colours[i] = {ramp[i].blue, ramp[i].green, ramp[i].red, 0};
    }

    void* bits = nullptr;
    UniqueBitmap dib(CreateDIBSection(dc.get(), reinterpret_cast<const BITMAPINFO*>(&info_), DIB_RGB_COLORS, &bits,
                                      nullptr, 0));
    if (!dib || !bits) return false;
    previous_ = SelectObject(dc.get(), dib.get());
    dc_ = std::move(dc);
    dib_ = std::move(dib);
    bits_ = bits;
    width_ = width;
    height_ = height;
    bitCount_ = bitCount;
    return true;
}

bool cImage::CopyHDC(HDC dc, std::int32_t width, std::int32_t height, std::int16_t bitCount, std::int32_t srcLeft,
                     std::int32_t srcTop) {
    UINT read = 0;
    if (bitCount == 0) {
        read = GetDIBColorTable(dc, 0, 256, scratch_.data());
        if (read == 1 || read == 2) bitCount = 1;
        else if (read >= 3 && read <= 16) bitCount = 4;
        else if (read >= 17 && read <= 256) bitCount = 8;
        else bitCount = 24;
    }
    if (!Create(width, height, bitCount)) return false;
    if (read > 0) {
        SetDIBColorTable(dc_.get(), 0, read, scratch_.data());
        std::copy_n(scratch_.begin(), read, info_.colours.begin());
    }
    // A source that cannot be read (no DC, one gone) leaves the image black: say so.
    const bool copied = BitBlt(dc_.get(), 0, 0, width, height, dc, srcLeft, srcTop, SRCCOPY);
    GdiFlush();  // the bits are read as memory next: GDI may still hold the transfer back
    if (!copied) Empty();
    return copied;
}

bool cImage::CopyStdPicture(IPicture* picture, std::int16_t bitCount) {
    if (!picture) return false;
    short type = PICTYPE_UNINITIALIZED;
    OLE_HANDLE handle = 0;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP) return false;
    if (FAILED(picture->get_Handle(&handle))) return false;
    return CopyStdPicture(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)), bitCount);
}

bool cImage::CopyStdPicture(HBITMAP picture, std::int16_t bitCount) {
    BITMAP bm{};
    if (!picture || GetObjectW(picture, sizeof(bm), &bm) == 0) return false;
    const bool automatic = bitCount == 0;
    if (automatic) {
        // Today's displays make 32-bit pictures: they are copied as 24 bits like 16-bit ones.
        bitCount = bm.bmBitsPixel == 16 || bm.bmBitsPixel == 32 ? 24 : static_cast<std::int16_t>(bm.bmBitsPixel);
    }
    if (!Create(bm.bmWidth, bm.bmHeight, bitCount)) return false;
    const bool copied = ReadBitmap(picture, automatic);
    GdiFlush();
    if (!copied) Empty();  // no black picture passed off as a copy
    return copied;
}

bool cImage::ReadBitmap(HBITMAP picture, bool withColours) {
    // A bitmap still selected into another DC cannot be selected here: the temporary DC would
    // then hold its default 1 x 1 bitmap and every transfer from it would give black.
    if (bitCount_ <= 8) {
        UniqueDc temp(DisplayCompatibleDc());
        if (!temp) return false;
        if (withColours) {
            SelectGuard select(temp.get(), picture);
            if (!Holds(temp.get(), picture)) return false;
            const UINT n = GetDIBColorTable(temp.get(), 0, TableSize(bitCount_), scratch_.data());
            if (n > 0) {
                SetDIBColorTable(dc_.get(), 0, n, scratch_.data());
                std::copy_n(scratch_.begin(), n, info_.colours.begin());
            }
        }
        // GetDIBits wants the picture selected out and writes the colour table it used into
        // the block it is given: hand it a copy, the image keeps its own.
        InfoBlock info = info_;
        return GetDIBits(temp.get(), picture, 0, static_cast<UINT>(height_), bits_, reinterpret_cast<BITMAPINFO*>(&info),
                         DIB_RGB_COLORS) == height_;
    }
    HWND desktop = GetDesktopWindow();
    HDC screen = GetDC(desktop);
    UniqueDc temp(CreateCompatibleDC(screen));
    ReleaseDC(desktop, screen);
    if (!temp) return false;
    SelectGuard select(temp.get(), picture);
    return Holds(temp.get(), picture) && BitBlt(dc_.get(), 0, 0, width_, height_, temp.get(), 0, 0, SRCCOPY);
}

bool cImage::CopyPalletHDC(HDC dc) {
    if (!dc_) return false;
    const UINT wanted = std::min<UINT>(bitCount_ <= 8 ? TableSize(bitCount_) : 256u, 256u);
    const UINT read = GetDIBColorTable(dc, 0, wanted, scratch_.data());
    if (read == 0) return false;
    const UINT written = SetDIBColorTable(dc_.get(), 0, read, scratch_.data());
    if (written > 0) std::copy_n(scratch_.begin(), written, info_.colours.begin());
    return written == read;
}

void cImage::PaintHDC(HDC dc, std::int32_t destLeft, std::int32_t destTop, DWORD rop) const {
    BitBlt(dc, destLeft, destTop, width_, height_, dc_.get(), 0, 0, rop);
}

std::unique_ptr<cImage> cImage::Blank(std::int32_t width, std::int32_t height) const {
    if (!dc_) return nullptr;
    auto image = std::make_unique<cImage>();
    if (!image->Create(width, height, bitCount_)) return nullptr;
    if (bitCount_ <= 8) (void)image->CopyPalletHDC(dc_.get());
    return image;
}

std::unique_ptr<cImage> cImage::Greyscale() const {
    if (!dc_) return nullptr;
    auto image = std::make_unique<cImage>();
    if (!image->Create(width_, height_, 8)) return nullptr;
    BitBlt(image->hdc(), 0, 0, width_, height_, dc_.get(), 0, 0, SRCCOPY);
    GdiFlush();
    return image;
}

std::unique_ptr<cImage> cImage::Resample(std::int32_t width, std::int32_t height) const {
    auto image = Blank(width, height);
    if (!image) return nullptr;
    if (width == width_ && height == height_) {
        BitBlt(image->hdc(), 0, 0, width, height, dc_.get(), 0, 0, SRCCOPY);
    } else {
        if (!SetStretchBltMode(image->hdc(), HALFTONE)) SetStretchBltMode(image->hdc(), COLORONCOLOR);
        SetBrushOrgEx(image->hdc(), 0, 0, nullptr);  // HALFTONE wants the brush origin set after it
        StretchBlt(image->hdc(), 0, 0, width, height, dc_.get(), 0, 0, width_, height_, SRCCOPY);
    }
    GdiFlush();
    return image;
}

std::unique_ptr<cImage> cImage::Transformed(std::int32_t width, std::int32_t height, const PlgPoints& pts) const {
    auto image = Blank(width, height);
    if (!image) return nullptr;
    // The pixels are moved by the point mapping itself rather than by PlgBlt: Wine's PlgBlt
    // stretches the bounding box instead of turning the picture and mirrors one pixel off,
    // so only this gives the same picture on every system.
    GdiFlush();
    MovePixels(static_cast<const std::uint8_t*>(bits_), width_, height_, bitCount_, pts,
               static_cast<std::uint8_t*>(image->bits_), width, height);
    return image;
}

std::unique_ptr<cImage> cImage::Mirror(bool vertical) const {
    return Transformed(width_, height_, MirrorPoints(width_, height_, vertical));
}

std::unique_ptr<cImage> cImage::Rotate(std::int32_t degrees) const {
    const auto rotation = RotationFor(degrees, width_, height_);
    if (!rotation) return nullptr;
    return Transformed(rotation->width, rotation->height, rotation->points);
}

}  // namespace orv
