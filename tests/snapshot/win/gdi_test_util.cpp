#include "win/gdi_test_util.h"

#include <wincodec.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <fstream>
#include <iterator>

namespace orv::test {

HBITMAP MakeDib(int width, int height, int bitCount, const std::vector<RGBQUAD>& colours) {
    struct {
        BITMAPINFOHEADER h;
        RGBQUAD c[256];
    } info{};
    info.h.biSize = sizeof(BITMAPINFOHEADER);
    info.h.biWidth = width;
    info.h.biHeight = height;
    info.h.biPlanes = 1;
    info.h.biBitCount = static_cast<WORD>(bitCount);
    info.h.biCompression = BI_RGB;
    if (bitCount <= 8) {
        info.h.biClrUsed = static_cast<DWORD>(colours.size());
        for (std::size_t i = 0; i < colours.size() && i < 256; ++i) info.c[i] = colours[i];
    }
    void* bits = nullptr;
    return CreateDIBSection(nullptr, reinterpret_cast<BITMAPINFO*>(&info), DIB_RGB_COLORS, &bits, nullptr, 0);
}

bool FillImage(cImage& image, const BgrPicture& picture) {
    if (!image.Create(picture.Width(), picture.Height(), 24)) return false;
    GdiFlush();
    auto* bits = static_cast<std::uint8_t*>(image.DIBitsPtr());
    const std::size_t stride = static_cast<std::size_t>(image.BytesPerScanLine());
    for (int y = 0; y < picture.Height(); ++y) {
        std::copy_n(picture.Row(y), 3 * picture.Width(), bits + (static_cast<std::size_t>(picture.Height() - 1 - y)) * stride);
    }
    return true;
}

COLORREF PixelAt(HDC dc, int x, int y) {
    GdiFlush();
    return GetPixel(dc, x, y);
}

int IndexAt(const cImage& image, int x, int y) {
    GdiFlush();
    const auto* row = static_cast<const std::uint8_t*>(image.DIBitsPtr()) +
                      static_cast<std::size_t>(image.Height() - 1 - y) * static_cast<std::size_t>(image.BytesPerScanLine());
    switch (image.BitCount()) {
    case 1: return (row[x / 8] >> (7 - x % 8)) & 1;
    case 4: return (row[x / 2] >> (x % 2 ? 0 : 4)) & 15;
    case 8: return row[x];
    default: return -1;
    }
}

BgrPicture DecodeWithWic(const std::wstring& path) {
    const HRESULT init = CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
    BgrPicture out;
    IWICImagingFactory* factory = nullptr;
    IWICBitmapDecoder* decoder = nullptr;
    IWICBitmapFrameDecode* frame = nullptr;
    IWICFormatConverter* converter = nullptr;
    UINT w = 0, h = 0;
    if (SUCCEEDED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                   reinterpret_cast<void**>(&factory))) &&
        SUCCEEDED(factory->CreateDecoderFromFilename(path.c_str(), nullptr, GENERIC_READ, WICDecodeMetadataCacheOnDemand,
                                                     &decoder)) &&
        SUCCEEDED(decoder->GetFrame(0, &frame)) && SUCCEEDED(factory->CreateFormatConverter(&converter)) &&
        SUCCEEDED(converter->Initialize(frame, GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                        WICBitmapPaletteTypeCustom)) &&
        SUCCEEDED(converter->GetSize(&w, &h))) {
        BgrPicture p(static_cast<int>(w), static_cast<int>(h));
        bool ok = true;
        for (UINT y = 0; y < h && ok; ++y) {
            const WICRect r{0, static_cast<INT>(y), static_cast<INT>(w), 1};
            ok = SUCCEEDED(converter->CopyPixels(&r, 3 * w, 3 * w, p.Row(static_cast<int>(y))));
        }
        if (ok) out = std::move(p);
    }
    if (converter) converter->Release();
    if (frame) frame->Release();
    if (decoder) decoder->Release();
    if (factory) factory->Release();
    if (SUCCEEDED(init)) CoUninitialize();
    return out;
}

double Psnr(const BgrPicture& a, const BgrView& b) {
    double sum = 0;
    for (int y = 0; y < a.Height(); ++y)
        for (int i = 0; i < 3 * a.Width(); ++i) {
            const double d = static_cast<double>(a.Row(y)[i]) - b.Row(y)[i];
            sum += d * d;
        }
    const double mse = sum / (3.0 * a.Width() * a.Height());
    return mse == 0 ? 99.0 : 10.0 * std::log10(255.0 * 255.0 / mse);
}

std::vector<std::uint8_t> ReadAll(const std::wstring& path) {
    std::ifstream in(std::filesystem::path(path), std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

TempFolder::TempFolder() {
    wchar_t base[MAX_PATH];
    GetTempPathW(MAX_PATH, base);
    path_ = std::wstring(base) + L"orv_snapshot_" + std::to_wstring(GetCurrentProcessId()) + L"_" +
            std::to_wstring(GetTickCount64());
    std::filesystem::create_directories(path_);
}

TempFolder::~TempFolder() {
    std::error_code ec;
    for (const auto& e : std::filesystem::directory_iterator(path_, ec)) {
        SetFileAttributesW(e.path().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(path_, ec);
}

}  // namespace orv::test
