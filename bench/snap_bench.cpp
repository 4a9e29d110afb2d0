// The snapshot's wait after the mouse is released: from the release to the file written and
// the clipboard set, for a 1920x1080 selection of a desktop-like picture on a 2560x1440 frozen
// screen, saved as JPEG (quality 80, our encoder) and as BMP. The path is the program's own
// (the selection of the frozen screen, then DeliverSnapshot: the clipboard is offered, its
// bitmap made when a program pastes); the encoder's share is the JPEG file alone from the
// same rectangle. Interleaved repetitions; medians in ms.
// Run on the Wine stand (scripts/stand.sh) or on Windows.
//
//   snap_bench.exe [repetitions, default 15]
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "base/win/utf.h"
#include "desktop_picture.h"
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

constexpr int kScreenW = 2560, kScreenH = 1440;

}  // namespace

// The frozen screen as the capture window makes it (every page touched by the freeze), the
// desktop picture in its selected rectangle.
std::unique_ptr<SnapPicture> Frozen(const BgrPicture& desktop, const RECT& selection) {
    auto frozen = std::make_unique<SnapPicture>();
    if (!frozen->Make(kScreenW, kScreenH)) return nullptr;
    PatBlt(frozen->Dc(), 0, 0, kScreenW, kScreenH, WHITENESS);
    BITMAPINFO bi{};
    bi.bmiHeader = {sizeof(BITMAPINFOHEADER), desktop.Width(), desktop.Height(), 1, 24, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBitsToDevice(frozen->Dc(), selection.left, selection.top, desktop.Width(), desktop.Height(), 0, 0, 0, desktop.Height(),
                      desktop.View().bits, &bi, DIB_RGB_COLORS);
    GdiFlush();
    return frozen;
}

int main(int argc, char** argv) {
    const int reps = argc > 1 && std::atoi(argv[1]) > 0 ? std::atoi(argv[1]) : 15;
    const RECT sel{200, 150, 200 + 1920, 150 + 1080};  // a 1920 x 1080 selection of a larger screen
    const BgrPicture desktop = bench::DesktopPainter(1920, 1080, 7).Paint();
    const std::filesystem::path folder = std::filesystem::temp_directory_path() / "OrvSnapBench";
    std::filesystem::create_directories(folder);
    Settings s;
    s.SnapSaveOn = true, s.SnapPreview = false, s.SnapJpgQuality = 80;
    s.SnapSavePath = Narrow(folder.wstring()), s.SnapSavePrefix = "Bench";

    std::vector<double> jpeg, bmp, encoder;
    for (int i = 0; i < reps; ++i) {
        for (int format : {1, 2}) {
            s.SnapSaveFormat = format;
            auto frozen = Frozen(desktop, sel);
            if (!frozen) return std::fprintf(stderr, "snap_bench: no DIB section\n"), 1;
            const auto t = Clock::now();  // the release
            frozen->Select(sel.left, sel.top, 1920, 1080);
            const SnapDelivery done = DeliverSnapshot(std::move(frozen), s, nullptr);
            (format == 1 ? jpeg : bmp).push_back(MsSince(t));
            if (!done.saved || !done.onClipboard) return std::fprintf(stderr, "snap_bench: format %d not delivered\n", format), 1;
        }
        const auto frozen = Frozen(desktop, sel);
        const auto t = Clock::now();
        SaveJpeg(frozen->Dc(), sel.left, sel.top, 1920, 1080, Narrow((folder / "encoder.jpg").wstring()), 80);
        encoder.push_back(MsSince(t));
    }
    const auto kb = [&](const char* name) { return static_cast<std::uintmax_t>(std::filesystem::file_size(folder / name) / 1024); };
    std::printf("snap_bench: a 1920x1080 selection of a desktop picture, %d repetitions, medians\n", reps);
    std::printf("  release to JPEG file and clipboard   %7.1f ms  (%ju KB)\n", Median(jpeg), kb("encoder.jpg"));
    std::printf("    of which the JPEG file alone       %7.1f ms  (%.0f %%: sampling through GDI, encoding, writing)\n",
                Median(encoder), 100 * Median(encoder) / Median(jpeg));
    std::printf("  release to BMP file and clipboard    %7.1f ms  (%ju KB)\n", Median(bmp), kb("Bench0002.BMP"));
    std::error_code ec;
    std::filesystem::remove_all(folder, ec);
    SnapClipboard::Release();
    return 0;
}
