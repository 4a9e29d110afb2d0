// The snapshot, driven through the real exe: a drag over a known picture on the screen
// gives exactly those pixels on the clipboard and in the numbered file, a JPEG close to them,
// Escape nothing; the preview opens the file; a folder that cannot be written loses nothing.
#include "e2e/driver.h"

#include <wincodec.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "app/win/bar_ids.h"
#include "base/win/utf.h"
#include "snapshot/win/f_magnify.h"
#include "snapshot/win/frm_capture.h"

namespace orv::e2e {
namespace {

constexpr RECT kPattern{440, 420, 760, 660};  // where the known picture lies: clear of the zoom window

// A picture as top-down rows of B, G, R bytes, no padding.
struct Picture {
    int width = 0, height = 0;
    std::vector<std::uint8_t> bgr;
};

// The known picture at screen rectangle r: sharp steps, every pixel different from its neighbours.
Picture Pattern(const RECT& r) {
    Picture p{r.right - r.left, r.bottom - r.top, {}};
    for (int y = r.top; y < r.bottom; ++y)
        for (int x = r.left; x < r.right; ++x) p.bgr.insert(p.bgr.end(), {std::uint8_t(x + y * 3), std::uint8_t(y * 5), std::uint8_t(x * 7)});
    return p;
}

// A topmost window of this process showing the pattern.
struct PatternWindow {
    HWND w = nullptr;
    PatternWindow() {
        WNDCLASSW wc{0, [](HWND h, UINT m, WPARAM wp, LPARAM lp) -> LRESULT {
            if (m != WM_PAINT) return DefWindowProcW(h, m, wp, lp);
            const Picture p = Pattern(kPattern);  // rows of 960 bytes: no padding needed
            BITMAPINFO bi{{sizeof(BITMAPINFOHEADER), p.width, -p.height, 1, 24, BI_RGB, 0, 0, 0, 0, 0}, {}};
            PAINTSTRUCT ps;
            SetDIBitsToDevice(BeginPaint(h, &ps), 0, 0, p.width, p.height, 0, 0, 0, p.height, p.bgr.data(), &bi, DIB_RGB_COLORS);
            return EndPaint(h, &ps), 0;
        }, 0, 0, nullptr, nullptr, nullptr, nullptr, nullptr, nullptr};
        wc.lpszClassName = L"OrvPattern";
        RegisterClassW(&wc);
        w = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_VISIBLE, kPattern.left,
                            kPattern.top, kPattern.right - kPattern.left, kPattern.bottom - kPattern.top, nullptr, nullptr, nullptr, nullptr);
        PumpFor(200);
    }
    ~PatternWindow() { DestroyWindow(w); }
};

Picture FromDib(const std::uint8_t* dib, std::size_t size) {
    BITMAPINFOHEADER h{};
    if (size >= sizeof h) std::memcpy(&h, dib, sizeof h);
    const std::size_t stride = (static_cast<std::size_t>(h.biWidth) * 3 + 3) & ~std::size_t(3);
    if (h.biBitCount != 24 || h.biCompression != BI_RGB || size < h.biSize + stride * std::abs(h.biHeight)) return {};
    Picture p{h.biWidth, std::abs(h.biHeight), {}};
    for (int y = 0; y < p.height; ++y) {
        const std::uint8_t* row = dib + h.biSize + stride * (h.biHeight > 0 ? p.height - 1 - y : y);
        p.bgr.insert(p.bgr.end(), row, row + 3 * p.width);
    }
    return p;
}
Picture FromBmpFile(const fs::path& file) {
    const std::string b = test::ReadFile(file);
    return b.starts_with("BM") ? FromDib(reinterpret_cast<const std::uint8_t*>(b.data()) + 14, b.size() - 14) : Picture{};
}
Picture FromClipboard() {
    Picture p;
    if (!OpenClipboard(nullptr)) return p;
    if (HANDLE mem = GetClipboardData(CF_DIB))  // the program renders it now
        if (const void* dib = GlobalLock(mem)) p = FromDib(static_cast<const std::uint8_t*>(dib), GlobalSize(mem)), GlobalUnlock(mem);
    CloseClipboard();
    return p;
}
// A JPEG file as the system's codecs decode it.
Picture FromJpegFile(const fs::path& file) {
    Picture p;
    CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    IWICImagingFactory* f = nullptr;
    IWICBitmapDecoder* d = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* c = nullptr;
    UINT w = 0, h = 0;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&f))) &&
        SUCCEEDED(f->CreateDecoderFromFilename(file.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand, &d)) &&
        SUCCEEDED(d->GetFrame(0, &frame)) && SUCCEEDED(f->CreateFormatConverter(&c)) &&
        SUCCEEDED(c->Initialize(frame, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0, WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(c->GetSize(&w, &h))) {
        p = {static_cast<int>(w), static_cast<int>(h), std::vector<std::uint8_t>(static_cast<std::size_t>(w) * h * 3)};
        if (FAILED(c->CopyPixels(nullptr, w * 3, static_cast<UINT>(p.bgr.size()), p.bgr.data()))) p = {};
    }
    for (IUnknown* u : std::initializer_list<IUnknown*>{c, frame, d, f})
        if (u) u->Release();
    return p;
}

// How far a picture is from the pattern at r, per colour byte: the largest difference and the
// mean (256 when the sizes differ).
std::pair<int, double> Difference(const Picture& p, const RECT& r) {
    const Picture want = Pattern(r);
    if (p.width != want.width || p.height != want.height || p.bgr.empty()) return {256, 256.0};
    int worst = 0;
    double sum = 0;
    for (std::size_t i = 0; i < p.bgr.size(); ++i) {
        const int d = std::abs(p.bgr[i] - want.bgr[i]);
        worst = std::max(worst, d), sum += d;
    }
    return {worst, sum / static_cast<double>(p.bgr.size())};
}
int WorstDifference(const Picture& p, const RECT& r) { return Difference(p, r).first; }

struct SnapshotTest : AppTest {
    fs::path folder;
    void SetUp() override {
        AppTest::SetUp();
        fs::remove_all(folder = fs::temp_directory_path() / "OrvSnaps");
        fs::create_directories(folder);
        for (auto [key, value] : {std::pair("SnapSaveOn", "True"), {"SnapSaveFormat", "2"}, {"SnapPreview", "False"},
                                  {"SnapZoom", "True"}, {"SnapSound", "True"}, {"SnapSaveCount", "0"}})
            SetSetting("CONFIG", key, value);
        SetSetting("CONFIG", "SnapSavePath", Narrow(folder.wstring()));
    }
    void TearDown() override {
        AppTest::TearDown();
        std::error_code ec;
        fs::remove_all(folder, ec);
    }
    // The snapshot button, and the frozen screen up (with the zoom window when asked).
    [[nodiscard]] HWND StartSnapshot(bool zoom = true) {
        if (!ClickControl(Bar(), kIdSnap)) return nullptr;
        HWND capture = nullptr;
        WaitUntil([&] { return (capture = FindWindowW(kCaptureClass, nullptr)) && IsWindowVisible(capture); }, 5000);
        if (zoom) WaitUntil([] { return IsWindowVisible(FindWindowW(kMagnifyClass, nullptr)); }, 3000);
        // Ready for the mouse: active, over the pattern, and past what its thread had queued.
        if (!WaitUntil([&] { return GetForegroundWindow() == capture && WindowFromPoint(Centre(kPattern)) == capture; }, 3000))
            return nullptr;
        Settle(capture);
        return capture;
    }
    // The selection ended: its window gone and the bar back.
    [[nodiscard]] bool Ended(HWND capture) {
        return WaitUntil([&] { return !IsWindow(capture) && IsWindowVisible(Bar()); }, 5000);
    }
};

// Faults: the release pixel left out or the rectangle measured from the wrong corner of a
// backwards drag; the clipboard or the file holding other pixels (rows upside down, colours
// swapped, an offset of the virtual screen); the bar left hidden; the counter not continuing
// after a restart; the JPEG not written or far from the pixels; the zoom keys not reaching the
// zoom window, its double click not closing it; Escape capturing something.
TEST_F(SnapshotTest, DraggedPixelsGoToTheClipboardAndNumberedFiles) {
    PatternWindow pattern;
    ASSERT_TRUE(Start());
    HWND capture = StartSnapshot();
    ASSERT_NE(capture, nullptr);
    EXPECT_FALSE(IsWindowVisible(Bar()));
    // Right to left and bottom to top; the release pixel belongs to the rectangle.
    const POINT from{kPattern.left + 250, kPattern.top + 150}, to{kPattern.left + 20, kPattern.top + 30};
    ASSERT_TRUE(MouseAt(from, MOUSEEVENTF_LEFTDOWN));
    ASSERT_TRUE(MouseAt({kPattern.left + 90, kPattern.top + 60}));
    PumpFor(300);
    Shot("snapshot-drag", Rect(GetDesktopWindow()));
    ASSERT_TRUE(MouseAt(to, MOUSEEVENTF_LEFTUP));
    ASSERT_TRUE(Ended(capture));
    const RECT want{to.x + 1, to.y + 1, from.x, from.y};
    EXPECT_EQ(WorstDifference(FromClipboard(), want), 0);
    EXPECT_EQ(WorstDifference(FromBmpFile(folder / "Snap0001.BMP"), want), 0);

    // Again after a restart, as a JPEG: the next number, within the encoder's error.
    ASSERT_TRUE(Quit(IDYES) && App().WaitExit(10000));
    EXPECT_EQ(Setting("CONFIG", "SnapSaveCount"), "1");
    SetSetting("CONFIG", "SnapSaveFormat", "1");
    ASSERT_TRUE(Start());
    ASSERT_NE(capture = StartSnapshot(false), nullptr);
    const POINT a{kPattern.left + 10, kPattern.top + 10}, b{kPattern.left + 209, kPattern.top + 109};
    ASSERT_TRUE(MouseDrag(a, b));
    ASSERT_TRUE(Ended(capture));
    // The pattern's sharp steps cost JPEG about 6 levels on average; a shifted or swapped
    // picture costs 60 and more.
    EXPECT_LT(Difference(FromJpegFile(folder / "Snap0002.JPG"), {a.x, a.y, b.x + 1, b.y + 1}).second, 10.0);

    // The zoom window's keys while the frozen screen has the keyboard, a double click closing
    // it; then Escape: nothing captured, the bar back.
    ASSERT_NE(capture = StartSnapshot(), nullptr);
    HWND zoom = FindWindowW(kMagnifyClass, nullptr);
    auto factor = [&] { wchar_t t[16] = {}; return SendMessageW(GetDlgItem(zoom, kMagFactor), WM_GETTEXT, 16, LPARAM(t)), std::wstring(t); };
    EXPECT_EQ(factor(), L"5.00");
    TypeKeys({VK_F3});
    EXPECT_TRUE(WaitUntil([&] { return factor() == L"2.00"; }, 2000)) << Narrow(factor());
    const POINT inZoom = Centre(Rect(GetDlgItem(zoom, kMagPicture)));
    ASSERT_TRUE(MouseAt(inZoom, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP) && MouseAt(inZoom, MOUSEEVENTF_LEFTDOWN | MOUSEEVENTF_LEFTUP));
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(zoom); }, 2000)) << "a double click closes the zoom window";
    TypeKeys({VK_ESCAPE});
    ASSERT_TRUE(Ended(capture));
    EXPECT_FALSE(IsWindow(FindWindowW(kMagnifyClass, nullptr)));
    EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 2);
}

// Faults: the preview not opening the file (or opening another), the temporary file not
// written when nothing is saved; a folder that cannot be written crashing the program, losing
// the clipboard's copy, or leaving a half-written file.
TEST_F(SnapshotTest, PreviewOpensTheFileAndAMissingFolderLosesNothing) {
    PatternWindow pattern;
    SetSetting("CONFIG", "SnapSaveOn", "False");
    SetSetting("CONFIG", "SnapPreview", "True");
    TakeViewedFile(0);
    ASSERT_TRUE(Start());
    HWND capture = StartSnapshot(false);
    ASSERT_NE(capture, nullptr);
    ASSERT_TRUE(MouseDrag({kPattern.left + 5, kPattern.top + 5}, {kPattern.left + 44, kPattern.top + 24}));
    ASSERT_TRUE(Ended(capture));
    const std::wstring viewed = TakeViewedFile(5000);
    EXPECT_TRUE(viewed.ends_with(L"RVTempX.BMP")) << Narrow(viewed);
    EXPECT_EQ(WorstDifference(FromBmpFile(viewed), {kPattern.left + 5, kPattern.top + 5, kPattern.left + 45, kPattern.top + 25}), 0);
    ASSERT_TRUE(Quit(IDYES) && App().WaitExit(10000));

    SetSetting("CONFIG", "SnapSaveOn", "True");
    SetSetting("CONFIG", "SnapSavePath", Narrow((folder / "gone").wstring()));
    ASSERT_TRUE(Start());
    ASSERT_NE(capture = StartSnapshot(false), nullptr);
    ASSERT_TRUE(MouseDrag({kPattern.left + 50, kPattern.top + 50}, {kPattern.left + 59, kPattern.top + 69}));
    ASSERT_TRUE(Ended(capture));
    EXPECT_TRUE(Responds(Bar()));
    EXPECT_EQ(WorstDifference(FromClipboard(), {kPattern.left + 50, kPattern.top + 50, kPattern.left + 60, kPattern.top + 70}), 0);
    EXPECT_NE(ReadLog().find("is not saved"), std::string::npos) << ReadLog();
    EXPECT_TRUE(TakeViewedFile(1000).empty()) << "nothing to open";
    EXPECT_FALSE(fs::exists(folder / "gone"));
}

}  // namespace
}  // namespace orv::e2e
