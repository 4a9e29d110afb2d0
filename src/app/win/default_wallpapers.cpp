#include "app/win/default_wallpapers.h"

#include <windows.h>
#include <wincodec.h>

#include <algorithm>
#include <vector>

#include "app/desk_windows.h"
#include "app/desktop_look.h"
#include "base/bmp.h"
#include "base/win/handles.h"
#include "base/win/log.h"
#include "base/win/replace_file.h"
#include "base/win/utf.h"

namespace orv {

namespace {
// COM for the calling thread while the scope lasts, when it was not on already.
class ComScope {
public:
    ComScope() : hr_(CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED)) {}
    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ~ComScope() {
        if (SUCCEEDED(hr_)) CoUninitialize();
    }

private:
    HRESULT hr_;
};
}  // namespace

bool ConvertPictureToBmp(const std::string& picture, const std::string& bmpPath) {
    ComScope com;
    ComPtr<IWICImagingFactory> factory;
    if (FAILED(CoCreateInstance(CLSID_WICImagingFactory, nullptr, CLSCTX_INPROC_SERVER, IID_IWICImagingFactory,
                                reinterpret_cast<void**>(factory.put()))))
        return false;
    ComPtr<IWICBitmapDecoder> decoder;
    if (FAILED(factory->CreateDecoderFromFilename(Widen(picture).c_str(), nullptr, GENERIC_READ,
                                                  WICDecodeMetadataCacheOnDemand, decoder.put())))
        return false;
    ComPtr<IWICBitmapFrameDecode> frame;
    if (FAILED(decoder->GetFrame(0, frame.put()))) return false;
    ComPtr<IWICFormatConverter> converter;
    if (FAILED(factory->CreateFormatConverter(converter.put())) ||
        FAILED(converter->Initialize(frame.get(), GUID_WICPixelFormat24bppBGR, WICBitmapDitherTypeNone, nullptr, 0.0,
                                     WICBitmapPaletteTypeCustom)))
        return false;
    UINT w = 0, h = 0;
    if (FAILED(converter->GetSize(&w, &h)) || w == 0 || h == 0 || w > kBmpMaxSide || h > kBmpMaxSide) return false;
    const UINT stride = w * 3;
    std::vector<BYTE> pixels(static_cast<std::size_t>(stride) * h);
    if (FAILED(converter->CopyPixels(nullptr, stride, static_cast<UINT>(pixels.size()), pixels.data()))) return false;
    std::vector<std::uint8_t> file = EncodeBmp24(w, h, pixels.data(), stride);
    if (file.empty()) return false;
    // Beside, then over: a switch may put this file on the screen while it is being made.
    return static_cast<bool>(ReplaceWholeFile(Widen(bmpPath), file.data(), file.size()));
}

bool WallpaperMaker::Start(SettingsStore& store, const AppFolders& folders) {
    // The values as ever, here and now; only the pictures wait.
    std::vector<std::pair<std::string, std::string>> jobs;
    MakeDefaultWallpapers(store, folders, [&](const std::string& picture, const std::string& bmp) {
        jobs.emplace_back(picture, bmp);
        return true;
    });
    // A run ended before its pictures were made left the values without their files.
    for (int n = 1; n <= kDeskCount; ++n) {
        const std::string bmp = folders.WallpaperCopy(n);
        if (store.Read(DeskSection(n), "WALLPAPER", "") == bmp && GetFileAttributesW(Widen(bmp).c_str()) == INVALID_FILE_ATTRIBUTES &&
            std::none_of(jobs.begin(), jobs.end(), [&](const auto& job) { return job.second == bmp; }))
            jobs.emplace_back(folders.DefaultPicture(n), bmp);
    }
    jobs_.assign(jobs.rbegin(), jobs.rend());
    return !jobs_.empty();
}

bool WallpaperMaker::MakeNext() {
    if (jobs_.empty()) return false;
    const auto [picture, bmp] = std::move(jobs_.back());
    jobs_.pop_back();
    if (!ConvertPictureToBmp(picture, bmp)) Log("Default wallpaper " + bmp + " not made from " + picture);
    return !jobs_.empty();
}

}  // namespace orv
