#include "app/win/default_wallpapers.h"

#include <windows.h>
#include <wincodec.h>

#include <fstream>
#include <vector>

#include "base/bmp.h"
#include "base/paths.h"
#include "base/win/handles.h"
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
    std::ofstream out(PathFromUtf8(bmpPath), std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(file.data()), static_cast<std::streamsize>(file.size()));
    out.close();  // a failure to flush the last bytes shows here
    return !out.fail();
}

}  // namespace orv
