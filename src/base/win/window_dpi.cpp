#include "base/win/window_dpi.h"

namespace orv {

namespace {
using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
using SpiForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);

template <typename Fn>
Fn User32Function(const char* name) {
    return reinterpret_cast<Fn>(reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), name)));
}

UINT ScreenDpi() {
    UniqueWindowDc screen = GetWindowDc(nullptr);
    const int dpi = screen ? GetDeviceCaps(screen.get().dc, LOGPIXELSY) : 0;
    return dpi > 0 ? static_cast<UINT>(dpi) : kBaseDpi;
}
}  // namespace

UINT WindowDpi(HWND window) {
    static const auto getDpiForWindow = User32Function<GetDpiForWindowFn>("GetDpiForWindow");
    if (window && getDpiForWindow) {
        if (const UINT dpi = getDpiForWindow(window)) return dpi;
    }
    return ScreenDpi();
}

bool NonClientMetricsForDpi(NONCLIENTMETRICSW& metrics, UINT dpi) {
    static const auto spiForDpi = User32Function<SpiForDpiFn>("SystemParametersInfoForDpi");
    metrics = {};
    metrics.cbSize = sizeof metrics;
    if (spiForDpi && spiForDpi(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0, dpi)) return true;
    // Older systems: the fonts come at the system DPI and are rescaled.
    metrics = {};
    metrics.cbSize = sizeof metrics;
    if (!SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof metrics, &metrics, 0)) return false;
    const int system = static_cast<int>(ScreenDpi());
    for (LOGFONTW* f : {&metrics.lfMenuFont, &metrics.lfMessageFont, &metrics.lfCaptionFont, &metrics.lfStatusFont})
        f->lfHeight = MulDiv(f->lfHeight, static_cast<int>(dpi), system);
    return true;
}

UniqueFont MenuFontForDpi(UINT dpi) {
    NONCLIENTMETRICSW m;
    if (!NonClientMetricsForDpi(m, dpi)) return {};
    return UniqueFont(CreateFontIndirectW(&m.lfMenuFont));
}

UniqueFont MessageFontForDpi(UINT dpi, int heightPercent, int weight) {
    NONCLIENTMETRICSW m;
    if (!NonClientMetricsForDpi(m, dpi)) return {};
    LOGFONTW f = m.lfMessageFont;
    f.lfHeight = MulDiv(f.lfHeight, heightPercent, 100);
    if (weight) f.lfWeight = weight;
    f.lfQuality = CLEARTYPE_QUALITY;
    return UniqueFont(CreateFontIndirectW(&f));
}

}  // namespace orv
