// cImage against real device contexts (DIB sections, memory DCs), under Wine.
#include "snapshot/win/c_image.h"

#include <gtest/gtest.h>
#include <olectl.h>

#include "test_images.h"
#include "win/gdi_test_util.h"

namespace orv {
namespace {

using test::IndexAt, test::MakeDib, test::PixelAt;

// The first n colours of a DC's table; n different colours as a table and as COLORREFs.
std::vector<COLORREF> TableOf(HDC dc, UINT n) {
    std::vector<RGBQUAD> t(n);
    t.resize(GetDIBColorTable(dc, 0, n, t.data()));
    std::vector<COLORREF> c;
    for (const RGBQUAD& q : t) c.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
    return c;
}
std::vector<RGBQUAD> Palette(int n, int seed) {
    std::vector<RGBQUAD> t;
    for (int i = 0; i < n; ++i) t.push_back({static_cast<BYTE>(53 * i + 7), static_cast<BYTE>(91 * i + 2 * seed), static_cast<BYTE>(37 * i + seed), 0});
    return t;
}
std::vector<COLORREF> Colours(int n, int seed) {
    std::vector<COLORREF> c;
    for (const RGBQUAD& q : Palette(n, seed)) c.push_back(RGB(q.rgbRed, q.rgbGreen, q.rgbBlue));
    return c;
}

// A picture whose neighbouring pixels all differ, so a misplaced pixel shows.
BgrPicture Distinct(int w, int h) {
    BgrPicture p(w, h);
    for (int i = 0; i < w * h; ++i) p.Set(i % w, i / w, static_cast<std::uint8_t>(20 * (i % w) + 3), static_cast<std::uint8_t>(30 * (i / w) + 7), static_cast<std::uint8_t>(11 * (i % w + i / w) + 100));
    return p;
}
COLORREF At(const BgrPicture& p, int x, int y) { return RGB(p.Row(y)[3 * x + 2], p.Row(y)[3 * x + 1], p.Row(y)[3 * x]); }

// Bottom-up DIB sections of 1, 4, 8 (the grey ramp) or 24 bits, no other; each Create frees
// the pair made before, as the destructor does.
TEST(cImage, CreateAndEmpty) {
    HDC dc = nullptr;
    HGDIOBJ dib = nullptr;
    {
        cImage image;
        for (std::int16_t bits : {1, 0, 4, 8, 2, 24, 16, 32, 8}) {
            const bool made = bits == 1 || bits == 4 || bits == 8 || bits == 24;
            ASSERT_EQ(image.Create(33, 5, bits), made) << bits << " bits";
            EXPECT_TRUE(GetObjectType(dc) == 0 && GetObjectType(dib) == 0) << bits;
            dib = (dc = image.hdc()) ? GetCurrentObject(dc, OBJ_BITMAP) : nullptr;
            DIBSECTION ds{};
            ASSERT_EQ(GetObjectW(dib, sizeof(ds), &ds), made ? static_cast<int>(sizeof(ds)) : 0) << bits;
            EXPECT_TRUE(!made || (ds.dsBm.bmBits == image.DIBitsPtr() && ds.dsBmih.biHeight == 5 && ds.dsBmih.biBitCount == bits && image.BytesPerScanLine() == ds.dsBm.bmWidthBytes)) << bits;
            std::vector<COLORREF> ramp;
            for (const RgbQuad& q : GreyRamp(bits)) ramp.push_back(RGB(q.red, q.green, q.blue));
            EXPECT_EQ(TableOf(image.hdc(), 256), ramp) << bits << " bits";
        }
    }
    EXPECT_TRUE(dc && GetObjectType(dc) == 0 && GetObjectType(dib) == 0);
}

// The bit count from the source's colour table, the colours taken over, the rectangle copied
// from the source origin.
TEST(cImage, CopyHdc) {
    const int cases[][3] = {{1, 2, 1}, {1, 1, 1}, {4, 3, 4}, {4, 16, 4}, {8, 17, 8}, {8, 256, 8}, {24, 0, 24}, {32, 0, 24}};
    for (const auto& [sourceBits, entries, chosen] : cases) {
        UniqueBitmap dib(MakeDib(6, 4, sourceBits, Palette(entries, sourceBits)));
        UniqueDc dc(CreateCompatibleDC(nullptr));
        SelectGuard select(dc.get(), dib.get());
        cImage image;
        ASSERT_TRUE(image.CopyHDC(dc.get(), 6, 4));
        EXPECT_EQ(image.BitCount(), chosen) << sourceBits << " bits, " << entries << " colours";
        EXPECT_EQ(TableOf(image.hdc(), static_cast<UINT>(entries)), Colours(entries, sourceBits)) << sourceBits << " bits";
    }
    const BgrPicture source = Distinct(9, 7);
    cImage from;
    ASSERT_TRUE(test::FillImage(from, source));
    for (const auto& [w, h, left, top] : {std::array{9, 7, 0, 0}, std::array{5, 3, 2, 1}, std::array{4, 6, 5, 1}}) {
        cImage image;
        ASSERT_TRUE(image.CopyHDC(from.hdc(), w, h, 24, left, top));
        for (int i = 0; i < w * h; ++i) ASSERT_EQ(PixelAt(image.hdc(), i % w, i / w), At(source, left + i % w, top + i / w)) << i << " of +" << left << "+" << top;
    }
    EXPECT_EQ(from.PackedDib(), PackedDib24(source.View())) << "the clipboard's form of the image's own rows";
}

// Bit count 0 takes the picture's own (16 and 32 as 24) with its colours; the pixels stay.
TEST(cImage, CopyStdPictureTakesTheBitsAndColoursOfABitmap) {
    const int cases[][3] = {{1, 0, 1}, {4, 0, 4}, {8, 0, 8}, {24, 0, 24}, {16, 0, 24}, {32, 0, 24}, {8, 24, 24}, {24, 16, 0}};  // bits, asked, made
    for (const auto& [bits, asked, made] : cases) {
        const int n = bits <= 8 ? 1 << bits : 0;
        UniqueBitmap dib(MakeDib(10, 6, bits, Palette(n, 5)));
        std::vector<COLORREF> pixels;  // what the source holds
        {
            UniqueDc dc(CreateCompatibleDC(nullptr));
            SelectGuard select(dc.get(), dib.get());
            for (int i = 0; i < 60; ++i) SetPixelV(dc.get(), i % 10, i / 10, n ? Colours(n, 5)[static_cast<std::size_t>(i % n)] : RGB(24 * i, 40 * i, 8 * i)), pixels.push_back(PixelAt(dc.get(), i % 10, i / 10));
        }
        cImage image;
        ASSERT_EQ(image.CopyStdPicture(dib.get(), static_cast<std::int16_t>(asked)), made != 0) << bits << " bits asked " << asked;
        if (!made) continue;
        ASSERT_TRUE(image.BitCount() == made && image.Width() == 10 && image.Height() == 6) << bits;
        EXPECT_TRUE(asked || TableOf(image.hdc(), 256) == Colours(n, 5)) << bits;
        for (int i = 0; i < 60; ++i) ASSERT_EQ(PixelAt(image.hdc(), i % 10, i / 10), pixels[static_cast<std::size_t>(i)]) << bits << " bits at " << i;
    }
    UniqueBitmap dib(MakeDib(7, 5, 8, Palette(256, 1)));  // the same through an OLE picture
    PICTDESC desc{sizeof(PICTDESC), PICTYPE_BITMAP, {}};
    desc.bmp.hbitmap = dib.get();
    IPicture* picture = nullptr;
    cImage image;
    ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPicture, FALSE, reinterpret_cast<void**>(&picture)), S_OK);
    EXPECT_TRUE(image.CopyStdPicture(picture, 0) && TableOf(image.hdc(), 256) == Colours(256, 1));
    EXPECT_FALSE(picture->Release() || image.CopyStdPicture(static_cast<IPicture*>(nullptr)) || image.CopyStdPicture(static_cast<HBITMAP>(nullptr)));
}

// Image bits, source bits and entries, result, entries taken over: all 16; 16 of 256 (the rest
// stays grey); 2 of 256; none from a source without a table, into 24 bits or an empty image.
TEST(cImage, CopyPalletHdcTakesTheColoursOfAnotherContext) {
    const int cases[][5] = {{4, 4, 16, 1, 16}, {8, 4, 16, 1, 16}, {1, 8, 256, 1, 2}, {8, 24, 0, 0, 0}, {24, 8, 256, 0, 0}, {0, 8, 256, 0, 0}};
    for (const auto& [imageBits, sourceBits, entries, result, copied] : cases) {
        UniqueBitmap dib(MakeDib(4, 4, sourceBits, Palette(entries, 9)));
        UniqueDc dc(CreateCompatibleDC(nullptr));
        SelectGuard select(dc.get(), dib.get());
        cImage image;
        ASSERT_EQ(image.Create(4, 4, static_cast<std::int16_t>(imageBits)), imageBits != 0);
        EXPECT_EQ(image.CopyPalletHDC(dc.get()), result != 0) << imageBits << " from " << sourceBits;
        std::vector<COLORREF> want = Colours(copied, 9);
        for (int i = copied; imageBits == 8 && i < 256; ++i) want.push_back(RGB(i, i, i));
        EXPECT_TRUE(!copied || TableOf(image.hdc(), 256) == want) << imageBits << " from " << sourceBits;
    }
}

// Greyscale: the nearest grey, the mean of the channels (Wine looks colours up at 5 bits per
// channel: 4 steps). Resample: the size asked for, the source's bit count and colours.
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

// Full HD, where the point mapping overflowed 32 bits and gave black: the size, and the chosen
// pixels where worked out by hand. A paletted image keeps its colours (its pixels: natively).
TEST(cImage, MirrorAndRotateAtFullHd) {
    using namespace test;
    cImage image;
    ASSERT_TRUE(FillImage(image, HdSource()));
    for (const HdCase& c : kHdCases) {
        const auto turned = c.op == 0 || c.op == 1 ? image.Mirror(c.op == 1) : image.Rotate(c.op == 270 ? -90 : c.op);
        ASSERT_TRUE(turned && turned->Width() == c.width && turned->Height() == c.height) << c.op;
        for (int i = 0; i < 6; ++i) EXPECT_EQ(PixelAt(turned->hdc(), c.to[i][0], c.to[i][1]), RGB(200 + i, 10 * i + 1, 99)) << c.op << ": pixel " << i;
    }
    cImage paletted;
    UniqueBitmap dib(MakeDib(5, 3, 8, Palette(256, 2)));
    const auto turned = paletted.CopyStdPicture(dib.get()) ? paletted.Mirror(false) : nullptr;
    EXPECT_TRUE(turned && TableOf(turned->hdc(), 256) == Colours(256, 2));
    const cImage empty;
    EXPECT_FALSE(empty.Greyscale() || empty.Resample(4, 4) || empty.Mirror(true) || empty.Rotate(90));
}

// No black picture passed off as a copy: a bitmap still selected into another DC (24 bits, and
// a paletted one whose colours are read), no DC; no top-down or empty image.
TEST(cImage, UnreadableSourcesAndNonPositiveSizesFail) {
    for (int bits : {24, 32, 8}) {
        UniqueBitmap dib(MakeDib(6, 4, bits, Palette(bits <= 8 ? 256 : 0, 3)));
        UniqueDc holder(CreateCompatibleDC(nullptr));
        SelectGuard select(holder.get(), dib.get());
        cImage image;
        EXPECT_FALSE(image.CopyStdPicture(dib.get()) || image.hdc()) << bits << " bits";
    }
    cImage image;  // a screen DC that GetDC could not give
    EXPECT_FALSE(image.CopyHDC(nullptr, 4, 4, 24) || image.hdc());
    for (const auto& [w, h] : {std::pair{4, -4}, std::pair{-4, 4}, std::pair{0, 4}}) EXPECT_FALSE(image.Create(w, h, 24) || image.hdc()) << w << " x " << h;
}

}  // namespace
}  // namespace orv
