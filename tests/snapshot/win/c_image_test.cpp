// cImage against real device contexts (DIB sections, memory DCs), under Wine.
#include "snapshot/win/c_image.h"

#include <gtest/gtest.h>
#include <olectl.h>

#include <functional>

#include "test_images.h"
#include "win/gdi_test_util.h"

namespace orv {
namespace {

using test::IndexAt;
using test::MakeDib;
using test::PixelAt;

// The first n colours of a DC's table; n colours, all different, of a palette.
std::vector<COLORREF> TableOf(HDC dc, UINT n) {
    std::vector<RGBQUAD> t(n);
    std::vector<COLORREF> c;
    for (UINT i = 0, got = GetDIBColorTable(dc, 0, n, t.data()); i < got; ++i) c.push_back(RGB(t[i].rgbRed, t[i].rgbGreen, t[i].rgbBlue));
    return c;
}
std::vector<RGBQUAD> Palette(int n, int seed) {
    std::vector<RGBQUAD> t;
    for (int i = 0; i < n; ++i) t.push_back({static_cast<BYTE>(53 * i + 7), static_cast<BYTE>(91 * i + 2 * seed), static_cast<BYTE>(37 * i + seed), 0});
    return t;
}
std::vector<COLORREF> Colours(const std::vector<RGBQUAD>& t, std::size_t k) {
    std::vector<COLORREF> c;
    for (std::size_t i = 0; i < k && i < t.size(); ++i) c.push_back(RGB(t[i].rgbRed, t[i].rgbGreen, t[i].rgbBlue));
    return c;
}

// A picture whose neighbouring pixels all differ, so a misplaced pixel shows.
BgrPicture Distinct(int w, int h) {
    BgrPicture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) p.Set(x, y, static_cast<std::uint8_t>(20 * x + 3), static_cast<std::uint8_t>(30 * y + 7), static_cast<std::uint8_t>(11 * (x + y) + 100));
    return p;
}
COLORREF At(const BgrPicture& p, int x, int y) { return RGB(p.Row(y)[3 * x + 2], p.Row(y)[3 * x + 1], p.Row(y)[3 * x]); }

TEST(cImage, CreateMakesBottomUpDibSectionsWithTheGreyRamp) {
    for (std::int16_t bits : {1, 4, 8, 24, 0, 2, 16, 32}) {
        cImage image;
        const bool made = bits == 1 || bits == 4 || bits == 8 || bits == 24;
        ASSERT_EQ(image.Create(33, 5, bits), made) << bits << " bits";
        if (!made) {
            EXPECT_EQ(image.hdc(), nullptr);
            continue;
        }
        DIBSECTION ds{};
        ASSERT_EQ(GetObjectW(GetCurrentObject(image.hdc(), OBJ_BITMAP), sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
        EXPECT_TRUE(ds.dsBm.bmBits == image.DIBitsPtr() && ds.dsBmih.biHeight == 5 && ds.dsBmih.biBitCount == bits) << bits;
        EXPECT_EQ(image.BytesPerScanLine(), ds.dsBm.bmWidthBytes);
        std::vector<COLORREF> ramp;
        for (const RgbQuad& q : GreyRamp(bits)) ramp.push_back(RGB(q.red, q.green, q.blue));
        EXPECT_EQ(TableOf(image.hdc(), 256), ramp) << bits << " bits";
    }
}

TEST(cImage, EmptyingFreesTheContextAndTheBitmap) {
    HDC dc = nullptr;
    HGDIOBJ dib = nullptr;
    {
        cImage image;
        for (std::int16_t bits : {24, 8, 16, 1}) {  // each Create frees the pair before; 16 fails
            EXPECT_EQ(image.Create(4, 4, bits), bits != 16);
            EXPECT_TRUE(GetObjectType(dc) == 0 && GetObjectType(dib) == 0) << bits;
            dib = (dc = image.hdc()) ? GetCurrentObject(dc, OBJ_BITMAP) : nullptr;
        }
    }
    EXPECT_TRUE(dc && GetObjectType(dc) == 0 && GetObjectType(dib) == 0);  // the destructor freed both
}

// The bit count from the source's colour table, the colours taken over, the rectangle copied
// from the source origin.
TEST(cImage, CopyHdc) {
    const int cases[][3] = {{1, 2, 1}, {1, 1, 1}, {4, 3, 4}, {4, 16, 4}, {8, 17, 8}, {8, 256, 8}, {24, 0, 24}, {32, 0, 24}};
    for (const auto& [sourceBits, entries, chosen] : cases) {
        const std::vector<RGBQUAD> colours = Palette(entries, sourceBits);
        UniqueBitmap dib(MakeDib(6, 4, sourceBits, colours));
        UniqueDc dc(CreateCompatibleDC(nullptr));
        SelectGuard select(dc.get(), dib.get());
        cImage image;
        ASSERT_TRUE(image.CopyHDC(dc.get(), 6, 4));
        EXPECT_EQ(image.BitCount(), chosen) << sourceBits << " bits, " << entries << " colours";
        EXPECT_EQ(TableOf(image.hdc(), static_cast<UINT>(entries)), Colours(colours, 256)) << sourceBits << " bits";
    }
    const BgrPicture source = Distinct(9, 7);
    cImage from;
    ASSERT_TRUE(test::FillImage(from, source));
    for (const auto& [w, h, left, top] : {std::array{9, 7, 0, 0}, std::array{5, 3, 2, 1}, std::array{4, 6, 5, 1}}) {
        cImage image;
        ASSERT_TRUE(image.CopyHDC(from.hdc(), w, h, 24, left, top));
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) ASSERT_EQ(PixelAt(image.hdc(), x, y), At(source, left + x, top + y)) << x << "," << y << " of +" << left << "+" << top;
    }
}

TEST(cImage, CopyStdPictureTakesTheBitsAndColoursOfABitmap) {
    const int cases[][3] = {{1, 0, 1}, {4, 0, 4}, {8, 0, 8}, {24, 0, 24}, {16, 0, 24}, {32, 0, 24}, {8, 24, 24}, {24, 16, 0}};
    for (const auto& [bits, asked, made] : cases) {
        const int n = bits <= 8 ? 1 << bits : 0;
        const std::vector<RGBQUAD> colours = Palette(n, 5);
        UniqueBitmap dib(MakeDib(10, 6, bits, colours));
        std::vector<COLORREF> pixels;  // what the source holds
        {
            UniqueDc dc(CreateCompatibleDC(nullptr));
            SelectGuard select(dc.get(), dib.get());
            for (int i = 0; i < 60; ++i) SetPixelV(dc.get(), i % 10, i / 10, n ? Colours(colours, 256)[static_cast<std::size_t>(i % n)] : RGB(24 * i, 40 * i, 8 * i)), pixels.push_back(PixelAt(dc.get(), i % 10, i / 10));
        }
        cImage image;
        ASSERT_EQ(image.CopyStdPicture(dib.get(), static_cast<std::int16_t>(asked)), made != 0) << bits << " bits asked " << asked;
        if (!made) continue;
        EXPECT_EQ(image.BitCount(), made) << bits;
        ASSERT_TRUE(image.Width() == 10 && image.Height() == 6);
        EXPECT_TRUE(asked || TableOf(image.hdc(), 256) == Colours(colours, 256)) << bits;
        for (int i = 0; i < 60; ++i) ASSERT_EQ(PixelAt(image.hdc(), i % 10, i / 10), pixels[static_cast<std::size_t>(i)]) << bits << " bits at " << i;
    }
    UniqueBitmap dib(MakeDib(7, 5, 8, Palette(256, 1)));  // the same through an OLE picture
    PICTDESC desc{sizeof(PICTDESC), PICTYPE_BITMAP, {}};
    desc.bmp.hbitmap = dib.get();
    IPicture* picture = nullptr;
    ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPicture, FALSE, reinterpret_cast<void**>(&picture)), S_OK);
    cImage image;
    EXPECT_TRUE(image.CopyStdPicture(picture, 0));
    picture->Release();
    EXPECT_EQ(TableOf(image.hdc(), 256), Colours(Palette(256, 1), 256));
    EXPECT_FALSE(image.CopyStdPicture(static_cast<IPicture*>(nullptr)) || image.CopyStdPicture(static_cast<HBITMAP>(nullptr)));
}

TEST(cImage, CopyPalletHdcTakesTheColoursOfAnotherContext) {
    // Image bits, source bits and entries, result, entries taken over: all 16; the first 16 of
    // 256 (the rest stays grey); 2 of 256 for 1 bit; none from a source without a table, into
    // a 24-bit image or into an empty one.
    const int cases[][5] = {{4, 4, 16, 1, 16}, {8, 4, 16, 1, 16}, {1, 8, 256, 1, 2}, {8, 24, 0, 0, 0}, {24, 8, 256, 0, 0}, {0, 8, 256, 0, 0}};
    for (const auto& [imageBits, sourceBits, entries, result, copied] : cases) {
        const std::vector<RGBQUAD> colours = Palette(entries, 9);
        UniqueBitmap dib(MakeDib(4, 4, sourceBits, colours));
        UniqueDc dc(CreateCompatibleDC(nullptr));
        SelectGuard select(dc.get(), dib.get());
        cImage image;
        ASSERT_EQ(image.Create(4, 4, static_cast<std::int16_t>(imageBits)), imageBits != 0);
        EXPECT_EQ(image.CopyPalletHDC(dc.get()), result != 0) << imageBits << " from " << sourceBits;
        std::vector<COLORREF> want = Colours(colours, static_cast<std::size_t>(copied));
        for (int i = copied; imageBits == 8 && i < 256; ++i) want.push_back(RGB(i, i, i));
        EXPECT_TRUE(!copied || TableOf(image.hdc(), 256) == want) << imageBits << " from " << sourceBits;
    }
}

// Greyscale: the nearest grey in RGB distance, the mean of the channels (Windows matches
// exactly; Wine looks colours up at 5 bits per channel: 4 steps). Resample: the size asked
// for with the source's bit count and colours.
TEST(cImage, GreyscaleAndResample) {
    const int cases[][3] = {{0, 0, 0}, {255, 255, 255}, {17, 17, 17}, {201, 201, 201}, {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {250, 240, 10}};
    BgrPicture p(8, 1);
    for (int i = 0; i < 8; ++i) p.Set(i, 0, static_cast<std::uint8_t>(cases[i][0]), static_cast<std::uint8_t>(cases[i][1]), static_cast<std::uint8_t>(cases[i][2]));
    cImage image;
    ASSERT_TRUE(test::FillImage(image, p));
    const auto grey = image.Greyscale();
    ASSERT_TRUE(grey && grey->BitCount() == 8 && grey->Width() == 8 && grey->Height() == 1);
    for (int i = 0; i < 8; ++i) EXPECT_LE(std::abs(IndexAt(*grey, i, 0) - (cases[i][0] + cases[i][1] + cases[i][2]) / 3.0), 4.5) << i;
    const auto bigger = grey->Resample(16, 6), same = image.Resample(8, 1);
    ASSERT_TRUE(bigger && bigger->Width() == 16 && bigger->Height() == 6 && bigger->BitCount() == 8 && same && same->BitCount() == 24);
    EXPECT_EQ(TableOf(bigger->hdc(), 256), TableOf(grey->hdc(), 256));
    for (int i = 0; i < 8; ++i) EXPECT_EQ(PixelAt(same->hdc(), i, 0), At(p, i, 0));
}

// Every pixel lands where the point mapping of the operation sends it, at 24 bits and in a
// paletted image, whose indices and colours stay.
TEST(cImage, MirrorAndRotateMoveEveryPixel) {
    const int W = 7, H = 5;
    const BgrPicture source = Distinct(W, H);
    cImage image, paletted;
    ASSERT_TRUE(test::FillImage(image, source));
    UniqueBitmap dib(MakeDib(W, H, 8, Palette(256, 2)));
    ASSERT_TRUE(paletted.CopyStdPicture(dib.get()));
    for (int i = 0; i < W * H; ++i) static_cast<std::uint8_t*>(paletted.DIBitsPtr())[(H - 1 - i / W) * paletted.BytesPerScanLine() + i % W] = static_cast<std::uint8_t>(i);
    struct Case { const char* what; std::function<std::unique_ptr<cImage>(const cImage&)> op; PlgPoints pts; bool turned; };
    const Case cases[] = {
        {"mirror left-right", [](const cImage& i) { return i.Mirror(false); }, MirrorPoints(W, H, false), false},
        {"mirror upside down", [](const cImage& i) { return i.Mirror(true); }, MirrorPoints(W, H, true), false},
        {"rotate 90", [](const cImage& i) { return i.Rotate(90); }, RotationFor(90, W, H)->points, true},
        {"rotate 180", [](const cImage& i) { return i.Rotate(180); }, RotationFor(180, W, H)->points, false},
        {"rotate -90", [](const cImage& i) { return i.Rotate(-90); }, RotationFor(270, W, H)->points, true},
    };
    for (const Case& c : cases) {
        const auto colour = c.op(image), indexed = c.op(paletted);
        ASSERT_TRUE(colour && indexed) << c.what;
        EXPECT_TRUE(colour->Width() == (c.turned ? H : W) && colour->Height() == (c.turned ? W : H)) << c.what;
        EXPECT_EQ(TableOf(indexed->hdc(), 256), Colours(Palette(256, 2), 256)) << c.what;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const Point to = MapPixel(c.pts, W, H, x, y);
                ASSERT_EQ(PixelAt(colour->hdc(), to.x, to.y), At(source, x, y)) << c.what << ": " << x << "," << y;
                ASSERT_EQ(IndexAt(*indexed, to.x, to.y), W * y + x) << c.what << ": " << x << "," << y;
            }
    }
    for (std::int32_t degrees : {0, 45, 360, -45}) EXPECT_FALSE(image.Rotate(degrees)) << degrees;
    const cImage empty;
    EXPECT_FALSE(empty.Greyscale() || empty.Resample(4, 4) || empty.Mirror(true) || empty.Rotate(90));
}

}  // namespace
}  // namespace orv
