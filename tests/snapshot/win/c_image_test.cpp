// cImage against real device contexts: DIB sections, memory DCs, a window's DC and the
// screen, under Wine.
#include "snapshot/win/c_image.h"

#include <gtest/gtest.h>
#include <olectl.h>

#include "test_images.h"
#include "win/gdi_test_util.h"

namespace orv {
namespace {

using test::IndexAt;
using test::MakeDib;
using test::PixelAt;

constexpr RGBQUAD Quad(int r, int g, int b) {
    return RGBQUAD{static_cast<BYTE>(b), static_cast<BYTE>(g), static_cast<BYTE>(r), 0};
}
COLORREF Colour(const RGBQUAD& q) { return RGB(q.rgbRed, q.rgbGreen, q.rgbBlue); }

// A picture whose neighbouring pixels all differ, so a misplaced pixel shows.
BgrPicture Distinct(int w, int h) {
    BgrPicture p(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            p.Set(x, y, static_cast<std::uint8_t>(20 * x + 3), static_cast<std::uint8_t>(30 * y + 7),
                  static_cast<std::uint8_t>(11 * (x + y) + 100));
    return p;
}

COLORREF Expected(const BgrPicture& p, int x, int y) {
    const std::uint8_t* px = p.Row(y) + 3 * x;
    return RGB(px[2], px[1], px[0]);
}

std::vector<RGBQUAD> TableOf(HDC dc, UINT n) {
    std::vector<RGBQUAD> t(n);
    t.resize(GetDIBColorTable(dc, 0, n, t.data()));
    return t;
}

bool SameColours(const std::vector<RGBQUAD>& a, const std::vector<RGBQUAD>& b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        if (Colour(a[i]) != Colour(b[i])) return false;
    }
    return true;
}

std::vector<RGBQUAD> Palette(int n, int seed) {
    std::vector<RGBQUAD> t;
    for (int i = 0; i < n; ++i) t.push_back(Quad((37 * i + seed) & 255, (91 * i + 2 * seed) & 255, (53 * i + 7) & 255));
    return t;
}

TEST(cImage, CreateMakesBottomUpDibSectionsOfTheFourBitCounts) {
    struct Case { std::int32_t w, h; std::int16_t bits; bool made; };
    const Case cases[] = {
        {33, 5, 1, true}, {9, 4, 4, true}, {5, 3, 8, true}, {5, 3, 24, true}, {1, 1, 24, true},
        {5, 3, 0, false}, {5, 3, 2, false}, {5, 3, 16, false}, {5, 3, 32, false},
    };
    for (const Case& c : cases) {
        cImage image;
        ASSERT_EQ(image.Create(c.w, c.h, c.bits), c.made) << c.bits << " bits";
        if (!c.made) {
            EXPECT_EQ(image.hdc(), nullptr);
            EXPECT_EQ(image.DIBitsPtr(), nullptr);
            continue;
        }
        EXPECT_EQ(image.Width(), c.w);
        EXPECT_EQ(image.Height(), c.h);
        EXPECT_EQ(image.BitCount(), c.bits);
        EXPECT_EQ(image.BytesPerScanLine(), BytesPerScanLine(c.w, c.bits));
        DIBSECTION ds{};
        ASSERT_EQ(GetObjectW(GetCurrentObject(image.hdc(), OBJ_BITMAP), sizeof(ds), &ds), static_cast<int>(sizeof(ds)));
        EXPECT_EQ(ds.dsBm.bmBits, image.DIBitsPtr());
        EXPECT_EQ(ds.dsBmih.biHeight, c.h);  // positive: bottom-up
        EXPECT_EQ(ds.dsBmih.biBitCount, c.bits);
        EXPECT_EQ(ds.dsBm.bmWidthBytes, image.BytesPerScanLine());
        // Tables of 1, 4, 8 bits hold the grey ramp.
        std::vector<RGBQUAD> ramp;
        for (const RgbQuad& q : GreyRamp(c.bits)) ramp.push_back(Quad(q.red, q.green, q.blue));
        EXPECT_TRUE(SameColours(TableOf(image.hdc(), 256), ramp)) << c.bits << " bits";
    }
}

TEST(cImage, EmptyingFreesTheContextAndTheBitmap) {
    HDC firstDc = nullptr;
    HGDIOBJ firstDib = nullptr;
    {
        cImage image;
        ASSERT_TRUE(image.Create(8, 8, 24));
        firstDc = image.hdc();
        firstDib = GetCurrentObject(firstDc, OBJ_BITMAP);
        ASSERT_EQ(GetObjectType(firstDib), static_cast<DWORD>(OBJ_BITMAP));
        ASSERT_TRUE(image.Create(4, 4, 8));  // a new Create frees the old pair
        EXPECT_EQ(GetObjectType(firstDc), 0u);
        EXPECT_EQ(GetObjectType(firstDib), 0u);
        firstDc = image.hdc();
        firstDib = GetCurrentObject(firstDc, OBJ_BITMAP);
        EXPECT_FALSE(image.Create(4, 4, 16));  // a failed Create leaves it empty
        EXPECT_EQ(image.hdc(), nullptr);
        EXPECT_EQ(GetObjectType(firstDib), 0u);
        ASSERT_TRUE(image.Create(4, 4, 1));
        firstDc = image.hdc();
        firstDib = GetCurrentObject(firstDc, OBJ_BITMAP);
    }
    EXPECT_EQ(GetObjectType(firstDc), 0u);  // the destructor freed both
    EXPECT_EQ(GetObjectType(firstDib), 0u);
}

TEST(cImage, PixelsDrawnWithGdiLieBottomUpBlueGreenRed) {
    cImage image;
    ASSERT_TRUE(image.Create(5, 3, 24));
    struct Case { int x, y; COLORREF c; };
    const Case cases[] = {{0, 0, RGB(1, 2, 3)}, {4, 0, RGB(200, 100, 50)}, {0, 2, RGB(9, 8, 7)}, {4, 2, RGB(255, 0, 128)}};
    for (const Case& c : cases) SetPixelV(image.hdc(), c.x, c.y, c.c);
    GdiFlush();
    const auto* bits = static_cast<const std::uint8_t*>(image.DIBitsPtr());
    for (const Case& c : cases) {
        const std::uint8_t* p = bits + (2 - c.y) * 16 + 3 * c.x;  // 16-byte rows, the top row last
        EXPECT_EQ(p[0], GetBValue(c.c)) << c.x << "," << c.y;
        EXPECT_EQ(p[1], GetGValue(c.c)) << c.x << "," << c.y;
        EXPECT_EQ(p[2], GetRValue(c.c)) << c.x << "," << c.y;
        EXPECT_EQ(image.View().Row(c.y)[3 * c.x + 2], GetRValue(c.c));
    }
}

TEST(cImage, CopyHdcChoosesTheBitCountFromTheColourTable) {
    struct Case { int sourceBits, entries; std::int16_t chosen; };
    const Case cases[] = {
        {1, 2, 1}, {1, 1, 1}, {4, 3, 4}, {4, 16, 4}, {8, 17, 8}, {8, 256, 8}, {24, 0, 24}, {32, 0, 24},
    };
    for (const Case& c : cases) {
        const std::vector<RGBQUAD> colours = Palette(c.entries, c.sourceBits);
        UniqueBitmap dib(MakeDib(6, 4, c.sourceBits, colours));
        ASSERT_TRUE(dib) << c.sourceBits;
        UniqueDc dc(CreateCompatibleDC(nullptr));
        SelectGuard select(dc.get(), dib.get());
        cImage image;
        ASSERT_TRUE(image.CopyHDC(dc.get(), 6, 4));
        EXPECT_EQ(image.BitCount(), c.chosen) << c.sourceBits << " bits, " << c.entries << " colours";
        if (c.entries > 0) {
            const std::vector<RGBQUAD> copied = TableOf(image.hdc(), static_cast<UINT>(c.entries));
            EXPECT_TRUE(SameColours(copied, colours)) << c.sourceBits << " bits, " << c.entries << " colours";
        }
    }
}

TEST(cImage, CopyHdcCopiesTheRectangleAtTheSourceOrigin) {
    const BgrPicture source = Distinct(9, 7);
    cImage from;
    ASSERT_TRUE(test::FillImage(from, source));
    struct Case { int w, h, left, top; };
    const Case cases[] = {{9, 7, 0, 0}, {5, 3, 2, 1}, {1, 1, 8, 6}, {4, 6, 5, 1}};
    for (const Case& c : cases) {
        cImage image;
        ASSERT_TRUE(image.CopyHDC(from.hdc(), c.w, c.h, 24, c.left, c.top));
        ASSERT_EQ(image.Width(), c.w);
        for (int y = 0; y < c.h; ++y)
            for (int x = 0; x < c.w; ++x)
                ASSERT_EQ(PixelAt(image.hdc(), x, y), Expected(source, c.left + x, c.top + y))
                    << x << "," << y << " of " << c.w << "x" << c.h << "+" << c.left << "+" << c.top;
    }
}

// A window's DC and the screen DC: true colour, no colour table, so 24 bits.
TEST(cImage, CopyHdcFromAWindowAndTheScreen) {
    HWND wnd = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 40, 30, 64, 48,
                               nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
    ASSERT_NE(wnd, nullptr);
    UpdateWindow(wnd);
    MSG msg;
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&msg);
    HDC dc = GetDC(wnd);
    const COLORREF colours[4] = {RGB(255, 0, 0), RGB(0, 160, 0), RGB(10, 20, 230), RGB(250, 250, 40)};
    for (int q = 0; q < 4; ++q) {
        const RECT r{(q % 2) * 32, (q / 2) * 24, (q % 2) * 32 + 32, (q / 2) * 24 + 24};
        UniqueBrush brush(CreateSolidBrush(colours[q]));
        FillRect(dc, &r, brush.get());
    }
    GdiFlush();

    cImage fromWindow;
    ASSERT_TRUE(fromWindow.CopyHDC(dc, 64, 48));
    EXPECT_EQ(fromWindow.BitCount(), 24);
    for (int q = 0; q < 4; ++q) {
        EXPECT_EQ(PixelAt(fromWindow.hdc(), (q % 2) * 32 + 5, (q / 2) * 24 + 5), colours[q]) << "quarter " << q;
        EXPECT_EQ(PixelAt(fromWindow.hdc(), (q % 2) * 32 + 31, (q / 2) * 24 + 23), colours[q]) << "quarter " << q;
    }
    ReleaseDC(wnd, dc);

    HDC screen = GetDC(nullptr);
    cImage fromScreen;
    ASSERT_TRUE(fromScreen.CopyHDC(screen, 64, 48, 0, 40, 30));
    EXPECT_EQ(fromScreen.BitCount(), 24);
    for (int y = 0; y < 48; y += 7)
        for (int x = 0; x < 64; x += 5)
            ASSERT_EQ(PixelAt(fromScreen.hdc(), x, y), GetPixel(screen, 40 + x, 30 + y)) << x << "," << y;
    ReleaseDC(nullptr, screen);
    DestroyWindow(wnd);
}

TEST(cImage, CopyStdPictureTakesTheBitsAndColoursOfABitmap) {
    struct Case { int bits; std::int16_t asked, made; bool colours; };
    const Case cases[] = {
        {1, 0, 1, true}, {4, 0, 4, true}, {8, 0, 8, true}, {24, 0, 24, false}, {16, 0, 24, false},
        {32, 0, 24, false}, {8, 24, 24, false}, {4, 8, 8, false}, {24, 16, 0, false},
    };
    for (const Case& c : cases) {
        const int n = c.bits <= 8 ? 1 << c.bits : 0;
        const std::vector<RGBQUAD> colours = Palette(n, 5);
        UniqueBitmap dib(MakeDib(10, 6, c.bits, colours));
        ASSERT_TRUE(dib);
        // Draw through a DC so every format holds the same picture.
        {
            UniqueDc dc(CreateCompatibleDC(nullptr));
            SelectGuard select(dc.get(), dib.get());
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 10; ++x) {
                    const COLORREF want = n ? Colour(colours[static_cast<std::size_t>((x + 3 * y) % n)])
                                            : RGB(24 * x, 40 * y, 8 * (x + y));
                    SetPixelV(dc.get(), x, y, want);
                }
        }
        cImage image;
        const std::string what = std::to_string(c.bits) + " bits asked " + std::to_string(c.asked);
        ASSERT_EQ(image.CopyStdPicture(dib.get(), c.asked), c.made != 0) << what;
        // What the source holds, to compare with (a bitmap is selected into one DC at a time).
        UniqueDc look(CreateCompatibleDC(nullptr));
        SelectGuard lookSelect(look.get(), dib.get());
        if (!c.made) continue;
        EXPECT_EQ(image.BitCount(), c.made) << what;
        EXPECT_EQ(image.Width(), 10);
        EXPECT_EQ(image.Height(), 6);
        if (c.colours) {
            EXPECT_TRUE(SameColours(TableOf(image.hdc(), static_cast<UINT>(n)), colours)) << what;
        }
        if (c.made == 24 || c.colours) {
            for (int y = 0; y < 6; ++y)
                for (int x = 0; x < 10; ++x)
                    ASSERT_EQ(PixelAt(image.hdc(), x, y), PixelAt(look.get(), x, y)) << what << " at " << x << "," << y;
        }
    }
}

TEST(cImage, CopyStdPictureReadsAnOlePicture) {
    UniqueBitmap dib(MakeDib(7, 5, 24));
    {
        UniqueDc dc(CreateCompatibleDC(nullptr));
        SelectGuard select(dc.get(), dib.get());
        for (int y = 0; y < 5; ++y)
            for (int x = 0; x < 7; ++x) SetPixelV(dc.get(), x, y, RGB(30 * x, 50 * y, 77));
    }
    PICTDESC desc{};
    desc.cbSizeofstruct = sizeof(desc);
    desc.picType = PICTYPE_BITMAP;
    desc.bmp.hbitmap = dib.get();
    IPicture* picture = nullptr;
    ASSERT_EQ(OleCreatePictureIndirect(&desc, IID_IPicture, FALSE, reinterpret_cast<void**>(&picture)), S_OK);
    cImage image;
    const bool copied = image.CopyStdPicture(picture, 0);
    picture->Release();
    ASSERT_TRUE(copied);
    EXPECT_EQ(image.BitCount(), 24);
    for (int y = 0; y < 5; ++y)
        for (int x = 0; x < 7; ++x) EXPECT_EQ(PixelAt(image.hdc(), x, y), RGB(30 * x, 50 * y, 77)) << x << "," << y;
    EXPECT_FALSE(image.CopyStdPicture(static_cast<IPicture*>(nullptr)));
    EXPECT_FALSE(image.CopyStdPicture(static_cast<HBITMAP>(nullptr)));
}

TEST(cImage, CopyPalletHdcTakesTheColoursOfAnotherContext) {
    struct Case { std::int16_t imageBits; int sourceBits, entries; bool result; int copied; };
    const Case cases[] = {
        {4, 4, 16, true, 16},   // all 16 read and written
        {8, 4, 16, true, 16},   // fewer than the image has: the first 16 change
        {1, 8, 256, true, 2},   // only 2^1 are read
        {8, 24, 0, false, 0},   // a source without colour table
        {24, 8, 256, false, 0}, // a 24-bit image has no table to write
    };
    for (const Case& c : cases) {
        const std::vector<RGBQUAD> colours = Palette(c.entries, 9);
        UniqueBitmap dib(MakeDib(4, 4, c.sourceBits, colours));
        UniqueDc dc(CreateCompatibleDC(nullptr));
        SelectGuard select(dc.get(), dib.get());
        cImage image;
        ASSERT_TRUE(image.Create(4, 4, c.imageBits));
        EXPECT_EQ(image.CopyPalletHDC(dc.get()), c.result) << c.imageBits << " from " << c.sourceBits;
        if (c.copied == 0) continue;
        const std::vector<RGBQUAD> want(colours.begin(), colours.begin() + c.copied);
        EXPECT_TRUE(SameColours(TableOf(image.hdc(), static_cast<UINT>(c.copied)), want)) << c.imageBits;
        if (c.imageBits == 8 && c.copied < 256) {  // the rest of the grey ramp stays
            EXPECT_EQ(Colour(TableOf(image.hdc(), 256)[200]), RGB(200, 200, 200));
        }
    }
}

TEST(cImage, PaintHdcDrawsTheWholeImageWithTheRasterOperation) {
    const BgrPicture source = Distinct(4, 3);
    cImage image;
    ASSERT_TRUE(test::FillImage(image, source));
    struct Case { DWORD rop; int left, top; COLORREF background; };
    const Case cases[] = {{SRCCOPY, 0, 0, RGB(0, 0, 0)}, {SRCCOPY, 3, 2, RGB(9, 9, 9)}, {NOTSRCCOPY, 1, 1, 0},
                          {SRCINVERT, 2, 0, RGB(255, 0, 255)}};
    for (const Case& c : cases) {
        cImage target;
        ASSERT_TRUE(target.Create(8, 6, 24));
        const RECT all{0, 0, 8, 6};
        UniqueBrush brush(CreateSolidBrush(c.background));
        FillRect(target.hdc(), &all, brush.get());
        image.PaintHDC(target.hdc(), c.left, c.top, c.rop);
        for (int y = 0; y < 6; ++y)
            for (int x = 0; x < 8; ++x) {
                const bool inside = x >= c.left && x < c.left + 4 && y >= c.top && y < c.top + 3;
                COLORREF want = c.background;
                if (inside) {
                    const COLORREF s = Expected(source, x - c.left, y - c.top);
                    want = c.rop == SRCCOPY ? s : c.rop == NOTSRCCOPY ? (~s & 0xFFFFFF) : (s ^ c.background);
                }
                ASSERT_EQ(PixelAt(target.hdc(), x, y), want) << "rop " << c.rop << " at " << x << "," << y;
            }
    }
}

TEST(cImage, GreyscaleMapsEachPixelToTheNearestGrey) {
    struct Case { int r, g, b; };
    const Case cases[] = {{0, 0, 0}, {255, 255, 255}, {128, 128, 128}, {17, 17, 17}, {201, 201, 201},
                          {255, 0, 0}, {0, 255, 0}, {0, 0, 255}, {100, 120, 140}, {250, 240, 10}};
    const int n = static_cast<int>(std::size(cases));
    BgrPicture p(n, 2);
    for (int i = 0; i < n; ++i)
        for (int y = 0; y < 2; ++y)
            p.Set(i, y, static_cast<std::uint8_t>(cases[i].r), static_cast<std::uint8_t>(cases[i].g),
                  static_cast<std::uint8_t>(cases[i].b));
    cImage image;
    ASSERT_TRUE(test::FillImage(image, p));
    const auto grey = image.Greyscale();
    ASSERT_TRUE(grey);
    EXPECT_EQ(grey->BitCount(), 8);
    EXPECT_EQ(grey->Width(), n);
    EXPECT_EQ(grey->Height(), 2);
    for (int i = 0; i < n; ++i) {
        const Case& c = cases[i];
        // The grey nearest in RGB distance is the mean of the channels. Windows matches
        // colours exactly; Wine looks them up at 5 bits per channel, so allow 4 steps.
        const double mean = (c.r + c.g + c.b) / 3.0;
        for (int y = 0; y < 2; ++y) {
            const int index = IndexAt(*grey, i, y);
            EXPECT_LE(std::abs(index - mean), 4.5) << c.r << "," << c.g << "," << c.b;
        }
    }
}

TEST(cImage, ResampleScalesWithTheSourcesBitCountAndColours) {
    // 2 x 2 blocks of one colour each: scaling by whole factors keeps the block colours.
    BgrPicture blocks(8, 6);
    const COLORREF colours[12] = {RGB(255, 0, 0), RGB(0, 255, 0), RGB(0, 0, 255), RGB(255, 255, 0),
                                  RGB(0, 0, 0),   RGB(255, 255, 255), RGB(90, 20, 200), RGB(10, 200, 150),
                                  RGB(128, 128, 128), RGB(240, 120, 30), RGB(60, 60, 60), RGB(0, 128, 255)};
    for (int y = 0; y < 6; ++y)
        for (int x = 0; x < 8; ++x) {
            const COLORREF c = colours[(y / 2) * 4 + x / 2];
            blocks.Set(x, y, GetRValue(c), GetGValue(c), GetBValue(c));
        }
    cImage image;
    ASSERT_TRUE(test::FillImage(image, blocks));
    struct Case { int w, h; int block; };  // block: target pixels per source block
    const Case cases[] = {{8, 6, 2}, {16, 12, 4}, {4, 3, 1}};
    for (const Case& c : cases) {
        const auto scaled = image.Resample(c.w, c.h);
        ASSERT_TRUE(scaled) << c.w;
        EXPECT_EQ(scaled->Width(), c.w);
        EXPECT_EQ(scaled->Height(), c.h);
        EXPECT_EQ(scaled->BitCount(), 24);
        for (int by = 0; by < 3; ++by)
            for (int bx = 0; bx < 4; ++bx) {
                // The centre of each block (its edges may blend with the neighbours).
                const int x = bx * c.block + c.block / 2, y = by * c.block + c.block / 2;
                const COLORREF got = PixelAt(scaled->hdc(), x, y), want = colours[by * 4 + bx];
                EXPECT_LE(std::abs(GetRValue(got) - GetRValue(want)), 2) << c.w << " at " << x << "," << y;
                EXPECT_LE(std::abs(GetGValue(got) - GetGValue(want)), 2) << c.w << " at " << x << "," << y;
                EXPECT_LE(std::abs(GetBValue(got) - GetBValue(want)), 2) << c.w << " at " << x << "," << y;
            }
    }
    // A paletted image keeps its bit count and its colours.
    UniqueBitmap dib(MakeDib(4, 4, 4, Palette(16, 3)));
    UniqueDc dc(CreateCompatibleDC(nullptr));
    SelectGuard select(dc.get(), dib.get());
    cImage paletted;
    ASSERT_TRUE(paletted.CopyHDC(dc.get(), 4, 4));
    const auto bigger = paletted.Resample(8, 8);
    ASSERT_TRUE(bigger);
    EXPECT_EQ(bigger->BitCount(), 4);
    EXPECT_TRUE(SameColours(TableOf(bigger->hdc(), 16), Palette(16, 3)));
}

// Every pixel of the source lands where the point mapping of the operation sends it.
TEST(cImage, MirrorAndRotateMoveEveryPixel) {
    const int W = 7, H = 5;
    const BgrPicture source = Distinct(W, H);
    cImage image;
    ASSERT_TRUE(test::FillImage(image, source));
    struct Case { const char* what; std::unique_ptr<cImage> result; std::int32_t w, h; PlgPoints pts; };
    Case cases[] = {
        {"mirror left-right", image.Mirror(false), W, H, MirrorPoints(W, H, false)},
        {"mirror upside down", image.Mirror(true), W, H, MirrorPoints(W, H, true)},
        {"rotate 90", image.Rotate(90), H, W, RotationFor(90, W, H)->points},
        {"rotate 180", image.Rotate(180), W, H, RotationFor(180, W, H)->points},
        {"rotate 270", image.Rotate(270), H, W, RotationFor(270, W, H)->points},
        {"rotate -90", image.Rotate(-90), H, W, RotationFor(270, W, H)->points},
        {"rotate 450", image.Rotate(450), H, W, RotationFor(90, W, H)->points},
    };
    for (const Case& c : cases) {
        ASSERT_TRUE(c.result) << c.what;
        ASSERT_EQ(c.result->Width(), c.w) << c.what;
        ASSERT_EQ(c.result->Height(), c.h) << c.what;
        EXPECT_EQ(c.result->BitCount(), 24);
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                const Point to = MapPixel(c.pts, W, H, x, y);
                ASSERT_EQ(PixelAt(c.result->hdc(), to.x, to.y), Expected(source, x, y))
                    << c.what << ": " << x << "," << y << " -> " << to.x << "," << to.y;
            }
    }
    for (std::int32_t degrees : {0, 45, 360, -45, 1}) EXPECT_FALSE(image.Rotate(degrees)) << degrees;
}

TEST(cImage, RotatingAPalettedImageKeepsItsIndicesAndColours) {
    const std::vector<RGBQUAD> colours = Palette(256, 1);
    UniqueBitmap dib(MakeDib(6, 4, 8, colours));
    cImage image;
    ASSERT_TRUE(image.CopyStdPicture(dib.get()));
    ASSERT_EQ(image.BitCount(), 8);
    auto* bits = static_cast<std::uint8_t*>(image.DIBitsPtr());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) bits[(3 - y) * image.BytesPerScanLine() + x] = static_cast<std::uint8_t>(10 * y + x);
    const auto turned = image.Rotate(270);
    ASSERT_TRUE(turned);
    EXPECT_EQ(turned->BitCount(), 8);
    EXPECT_TRUE(SameColours(TableOf(turned->hdc(), 256), colours));
    const PlgPoints pts = RotationFor(270, 6, 4)->points;
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x) {
            const Point to = MapPixel(pts, 6, 4, x, y);
            EXPECT_EQ(IndexAt(*turned, to.x, to.y), 10 * y + x) << x << "," << y;
        }
}

TEST(cImage, OperationsOnAnEmptyImageMakeNothing) {
    const cImage empty;
    EXPECT_FALSE(empty.Greyscale());
    EXPECT_FALSE(empty.Resample(4, 4));
    EXPECT_FALSE(empty.Mirror(true));
    EXPECT_FALSE(empty.Rotate(90));
    cImage image;
    HDC screen = GetDC(nullptr);
    EXPECT_FALSE(image.CopyPalletHDC(screen));
    ReleaseDC(nullptr, screen);
}

}  // namespace
}  // namespace orv
