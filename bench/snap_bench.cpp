// The snapshot's wait after the mouse is released: from the release to the file written and
// the clipboard set, for a 1920x1080 selection of a desktop-like picture, saved as JPEG
// (quality 80, our encoder) and as BMP. The path is the program's own (SnapPicture cut from
// the frozen screen, then DeliverSnapshot: the clipboard is offered, its bitmap made when a
// program pastes); the encoder's share is the JPEG file alone from the same picture (cImage
// copy and SaveJpeg). Interleaved repetitions; medians in ms.
// Run on the Wine stand (scripts/stand.sh) or on Windows.
//
//   snap_bench.exe [repetitions, default 15]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>
#include <vector>

#include "base/win/utf.h"
#include "base/bmp.h"
#include "desktop_picture.h"
#include "snapshot/packed_dib.h"
#include "snapshot/win/c_image.h"
#include "snapshot/win/dc_sampler.h"
#include "snapshot/win/snap_output.h"

namespace {

using namespace orv;
using Clock = std::chrono::steady_clock;

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

double MsSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

}  // namespace

int main(int argc, char** argv) {
    const int reps = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 15;
    constexpr int kW = 1920, kH = 1080;
    // The frozen screen: the desktop picture in a DIB section of a memory DC.
    const BgrPicture desktop = bench::DesktopPainter(kW, kH, 7).Paint();
    SnapPicture frozen;
    if (!frozen.Make(kW, kH)) return std::fprintf(stderr, "snap_bench: no DIB section\n"), 1;
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), kW, kH, 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(frozen.Dc(), 0, 0, kW, kH, 0, 0, 0, kH, desktop.View().bits, &bi, DIB_RGB_COLORS);

    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "OrvSnapBench";
    std::filesystem::create_directories(folder);
    Settings s;
    s.SnapSaveOn = true, s.SnapPreview = false, s.SnapJpgQuality = 80;
    s.SnapSavePath = Narrow(folder.wstring()), s.SnapSavePrefix = "Bench";

    std::vector<double> jpeg, bmp, encoder, copy, encode;
    for (int i = 0; i < reps; ++i) {
        for (int format : {1, 2}) {
            s.SnapSaveFormat = format;
            const auto t = Clock::now();
            auto picture = std::make_unique<SnapPicture>();
            const bool cut = picture->Make(kW, kH) && BitBlt(picture->Dc(), 0, 0, kW, kH, frozen.Dc(), 0, 0, SRCCOPY);
            const SnapDelivery done = cut ? DeliverSnapshot(std::move(picture), s, nullptr) : SnapDelivery{};
            (format == 1 ? jpeg : bmp).push_back(MsSince(t));
            if (!done.saved || !done.onClipboard) return std::fprintf(stderr, "snap_bench: format %d not delivered\n", format), 1;
        }
        auto t = Clock::now();
        cImage image;
        if (!image.CopyHDC(frozen.Dc(), kW, kH)) return std::fprintf(stderr, "snap_bench: no copy\n"), 1;
        copy.push_back(MsSince(t));
        const auto e = Clock::now();
        SaveJpeg(image, Narrow((folder / "encoder.jpg").wstring()), 80);
        encoder.push_back(MsSince(t));
        t = e;
        encode.push_back(MsSince(t));
    }
    // Where the time goes, step by step, on the same picture.
    std::vector<double> cutMs, fileMs, clipMs, writeMs;
    for (int i = 0; i < reps; ++i) {
        auto t = Clock::now();
        SnapPicture picture;
        if (!picture.Make(kW, kH) || !BitBlt(picture.Dc(), 0, 0, kW, kH, frozen.Dc(), 0, 0, SRCCOPY)) return 1;
        GdiFlush();
        cutMs.push_back(MsSince(t));
        t = Clock::now();
        const std::vector<std::uint8_t> file = BmpFile24(TopDownView(picture.Bits(), kW, kH, Bmp24Stride(kW)));
        fileMs.push_back(MsSince(t));
        t = Clock::now();
        SnapClipboard::Offer(std::make_unique<SnapPicture>());
        clipMs.push_back(MsSince(t));
        t = Clock::now();
        std::FILE* f = _wfopen((folder / "step.bmp").c_str(), L"wb");
        std::fwrite(file.data(), 1, file.size(), f);
        std::fclose(f);
        writeMs.push_back(MsSince(t));
    }
    std::printf("  steps: cut %.1f ms, bitmap file bytes %.1f ms, clipboard offer %.1f ms, file write %.1f ms\n", Median(cutMs),
                Median(fileMs), Median(clipMs), Median(writeMs));
    const auto size = [&](const char* name) { return std::filesystem::file_size(folder / name) / 1024; };
    std::printf("snap_bench: 1920x1080 desktop picture, %d repetitions, medians\n", reps);
    std::printf("  release to JPEG file and clipboard   %7.1f ms  (%ju KB)\n", Median(jpeg), size("encoder.jpg"));
    std::printf("    of which the JPEG file alone       %7.1f ms  (%.0f %%)\n", Median(encoder), 100 * Median(encoder) / Median(jpeg));
    std::printf("      the cImage copy %.1f ms; sampling (the DC's blocks), encoding, writing %.1f ms\n", Median(copy), Median(encode));
    std::printf("  release to BMP file and clipboard    %7.1f ms  (%ju KB)\n", Median(bmp),
                static_cast<std::uintmax_t>(kW * 3 * kH / 1024));
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    SnapClipboard::Release();
    return 0;
}
