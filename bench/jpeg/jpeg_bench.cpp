// Our JPEG encoder against libjpeg-turbo on two generated 1920 x 1080 pictures (photo-like,
// and a desktop screenshot: wallpaper, windows, anti-aliased text, icons) at quality 80,
// 4:2:0:
//   ours        cJpeg (AAN float DCT, optimised Huffman tables)
//   float_opt   libjpeg API, JDCT_FLOAT and optimize_coding with OUR quantisation tables:
//               the closest algorithm
//   tj_default  TurboJPEG's defaults (integer DCT, its own quality-80 tables)
// The encoders run interleaved (random interleaving, repetitions), then the ratios of the
// median times, the output sizes, the PSNR of each file decoded by libjpeg, the time of a
// 17 x 13 picture and the peak memory above the input are printed.
//
// Peak memory: each encoder runs once in a forked child that resets its peak resident set
// (/proc/self/clear_refs, 5) with the input already in memory, then reads VmHWM after the
// encode: the same measure for all. For ours, a counting operator new gives the exact
// peak of the heap as well.
#include <benchmark/benchmark.h>

#include <jpeglib.h>
#include <turbojpeg.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "snapshot/cjpeg.h"
#include "snapshot/jpeg_tables.h"
#include "desktop_picture.h"
#include "test_images.h"

// ---- Counting allocator: current and peak bytes of the heap (operator new only). ----
namespace {
std::atomic<std::size_t> g_current{0}, g_peak{0};
}
void* operator new(std::size_t n) {
    void* p = std::malloc(n + 16);
    if (!p) throw std::bad_alloc();
    *static_cast<std::size_t*>(p) = n;
    const std::size_t now = g_current += n;
    std::size_t peak = g_peak.load();
    while (now > peak && !g_peak.compare_exchange_weak(peak, now)) {}
    return static_cast<char*>(p) + 16;
}
void operator delete(void* p) noexcept {
    if (!p) return;
    char* base = static_cast<char*>(p) - 16;
    g_current -= *reinterpret_cast<std::size_t*>(base);
    std::free(base);
}
void operator delete(void* p, std::size_t) noexcept { operator delete(p); }

namespace {

using orv::BgrPicture;
constexpr int kQuality = 80;

const BgrPicture& Picture(int which) {
    static const BgrPicture photo = orv::test::PhotoLike(1920, 1080);
    static const BgrPicture screen = orv::bench::DesktopScreenshot(1920, 1080);
    static const BgrPicture tiny = orv::test::PhotoLike(17, 13);
    return which == 0 ? photo : which == 1 ? screen : tiny;
}

std::vector<std::uint8_t> EncodeOurs(const BgrPicture& p) {
    orv::cJpeg j;
    j.Quality(kQuality);
    j.SampleBuffer(p.View(), p.Width(), p.Height(), 0, 0);
    return j.Encode();
}

std::vector<std::uint8_t> EncodeFloatOpt(const BgrPicture& p) {
    jpeg_compress_struct c{};
    jpeg_error_mgr err{};
    c.err = jpeg_std_error(&err);
    jpeg_create_compress(&c);
    unsigned char* out = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&c, &out, &size);
    c.image_width = static_cast<JDIMENSION>(p.Width());
    c.image_height = static_cast<JDIMENSION>(p.Height());
    c.input_components = 3;
    c.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&c);
    // Like with like: libjpeg's own quality scaling truncates ((base * scale + 50) / 100 in
    // integers: 6 for the first luminance entry at quality 80) where ours rounds halves to
    // even (7), so its tables would differ in places and with them the bytes and the PSNR.
    // It gets our two tables instead, in natural order, with a scale of 100 % (value v gives
    // (v * 100 + 50) / 100 = v) and the baseline limit of 255, which ours already keep.
    static const std::array<std::array<unsigned int, 64>, 2> ourTables = [] {
        const int scale = orv::jpeg::QualityScale(kQuality);
        const orv::jpeg::QuantTable ours[2] = {orv::jpeg::MakeQuantTable(orv::jpeg::kLuminanceBase, scale),
                                               orv::jpeg::MakeQuantTable(orv::jpeg::kChrominanceBase, scale)};
        std::array<std::array<unsigned int, 64>, 2> t{};
        for (int i = 0; i < 2; ++i)
            for (int z = 0; z < 64; ++z)
                t[static_cast<std::size_t>(i)][orv::jpeg::kNaturalOfZigzag[static_cast<std::size_t>(z)]] =
                    ours[i].zigzag[static_cast<std::size_t>(z)];
        return t;
    }();
    jpeg_add_quant_table(&c, 0, ourTables[0].data(), 100, TRUE);
    jpeg_add_quant_table(&c, 1, ourTables[1].data(), 100, TRUE);
    c.dct_method = JDCT_FLOAT;
    c.optimize_coding = TRUE;
    jpeg_start_compress(&c, TRUE);
    while (c.next_scanline < c.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(p.Row(static_cast<int>(c.next_scanline)));
        jpeg_write_scanlines(&c, &row, 1);
    }
    jpeg_finish_compress(&c);
    jpeg_destroy_compress(&c);
    std::vector<std::uint8_t> v(out, out + size);
    std::free(out);
    return v;
}

std::vector<std::uint8_t> EncodeTurbo(const BgrPicture& p) {
    tjhandle h = tjInitCompress();
    unsigned char* out = nullptr;
    unsigned long size = 0;
    BgrPicture& q = const_cast<BgrPicture&>(p);
    tjCompress2(h, q.Bits(), p.Width(), static_cast<int>(p.Stride()), p.Height(), TJPF_BGR, &out, &size, TJSAMP_420,
                kQuality, TJFLAG_BOTTOMUP);
    std::vector<std::uint8_t> v(out, out + size);
    tjFree(out);
    tjDestroy(h);
    return v;
}

using Encoder = std::vector<std::uint8_t> (*)(const BgrPicture&);
constexpr Encoder kEncoders[3] = {EncodeOurs, EncodeFloatOpt, EncodeTurbo};
constexpr const char* kEncoderNames[3] = {"ours", "float_opt", "tj_default"};
constexpr const char* kPictureNames[3] = {"photo", "screen", "17x13"};

void BM_Encode(benchmark::State& state) {
    const BgrPicture& p = Picture(static_cast<int>(state.range(0)));
    const Encoder enc = kEncoders[state.range(1)];
    std::size_t bytes = 0;
    for (auto _ : state) {
        std::vector<std::uint8_t> f = enc(p);
        bytes = f.size();
        benchmark::DoNotOptimize(f.data());
    }
    state.counters["bytes"] = static_cast<double>(bytes);
}

// A libjpeg decoder over a file in memory, its header read.
void OpenDecoder(jpeg_decompress_struct& d, jpeg_error_mgr& err, const std::vector<std::uint8_t>& file) {
    d.err = jpeg_std_error(&err);
    jpeg_create_decompress(&d);
    jpeg_mem_src(&d, file.data(), static_cast<unsigned long>(file.size()));
    jpeg_read_header(&d, TRUE);
}

// PSNR of a file decoded by libjpeg against the picture.
double Psnr(const std::vector<std::uint8_t>& file, const BgrPicture& p) {
    jpeg_decompress_struct d{};
    jpeg_error_mgr err{};
    OpenDecoder(d, err, file);
    d.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&d);
    std::vector<std::uint8_t> row(static_cast<std::size_t>(p.Width()) * 3);
    double sse = 0;
    while (d.output_scanline < d.output_height) {
        const int y = static_cast<int>(d.output_scanline);
        JSAMPROW r = row.data();
        jpeg_read_scanlines(&d, &r, 1);
        const std::uint8_t* src = p.Row(y);
        for (std::size_t i = 0; i < row.size(); ++i) {
            const double e = static_cast<double>(row[i]) - src[i];
            sse += e * e;
        }
    }
    jpeg_finish_decompress(&d);
    jpeg_destroy_decompress(&d);
    const double mse = sse / (3.0 * p.Width() * p.Height());
    return 10.0 * std::log10(255.0 * 255.0 / mse);
}

// True when both files carry the same two quantisation tables.
bool SameQuantTables(const std::vector<std::uint8_t>& a, const std::vector<std::uint8_t>& b) {
    auto tables = [](const std::vector<std::uint8_t>& file) {
        jpeg_decompress_struct d{};
        jpeg_error_mgr err{};
        OpenDecoder(d, err, file);
        std::vector<int> t;
        for (int i = 0; i < 2; ++i)
            for (int k = 0; k < 64; ++k) t.push_back(d.quant_tbl_ptrs[i] ? d.quant_tbl_ptrs[i]->quantval[k] : -1);
        jpeg_destroy_decompress(&d);
        return t;
    };
    return tables(a) == tables(b);
}

long HighWaterKiB() {
    std::ifstream f("/proc/self/status");
    std::string line;
    while (std::getline(f, line)) {
        if (line.rfind("VmHWM:", 0) == 0) return std::atol(line.c_str() + 6);
    }
    return -1;
}

// Peak resident memory added by one encode, in KiB, measured in a child process.
long PeakAboveInputKiB(const BgrPicture& p, Encoder enc) {
    int fds[2];
    if (pipe(fds) != 0) return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        { std::ofstream("/proc/self/clear_refs") << "5"; }
        const long before = HighWaterKiB();
        std::vector<std::uint8_t> f = enc(p);
        const long delta = HighWaterKiB() - before;
        if (write(fds[1], &delta, sizeof delta) != sizeof delta) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    long delta = -1;
    if (read(fds[0], &delta, sizeof delta) != sizeof delta) delta = -1;
    close(fds[0]);
    waitpid(pid, nullptr, 0);
    return delta;
}

// Collects the median real time of every benchmark.
class RatioReporter : public benchmark::ConsoleReporter {
public:
    void ReportRuns(const std::vector<Run>& runs) override {
        ConsoleReporter::ReportRuns(runs);
        for (const Run& r : runs) {
            if (r.run_type == Run::RT_Aggregate && r.aggregate_name == "median") {
                medians[r.run_name.function_name + "/" + r.run_name.args] = r.GetAdjustedRealTime();
                cpuMedians[r.run_name.function_name + "/" + r.run_name.args] = r.GetAdjustedCPUTime();
            }
        }
    }
    std::map<std::string, double> medians;     // real time, in the reporter's time unit
    std::map<std::string, double> cpuMedians;  // CPU time
};

}  // namespace

int main(int argc, char** argv) {
    for (int pic = 0; pic < 3; ++pic) {
        for (int e = 0; e < 3; ++e) {
            const std::string name = std::string("encode/") + kPictureNames[pic] + "/" + kEncoderNames[e];
            benchmark::RegisterBenchmark(name.c_str(), BM_Encode)
                ->Args({pic, e})
                ->Unit(benchmark::kMicrosecond)
                ->MinTime(pic == 2 ? 0.05 : 0.2)
                ->Repetitions(9)
                ->ReportAggregatesOnly(true);
        }
    }
    std::vector<char*> args(argv, argv + argc);
    std::string interleave = "--benchmark_enable_random_interleaving=true";
    args.push_back(interleave.data());
    int n = static_cast<int>(args.size());
    benchmark::Initialize(&n, args.data());
    for (int pic = 0; pic < 3; ++pic) Picture(pic);  // generated before anything is measured
    // Peak memory first, while no encoder has run in this process yet.
    long peaks[2][3];
    double heapMiB[2];
    for (int pic = 0; pic < 2; ++pic) {
        for (int e = 0; e < 3; ++e) peaks[pic][e] = PeakAboveInputKiB(Picture(pic), kEncoders[e]);
        g_peak = g_current.load();
        const std::size_t base = g_current.load();
        EncodeOurs(Picture(pic));
        heapMiB[pic] = static_cast<double>(g_peak.load() - base) / (1024.0 * 1024.0);
    }
    RatioReporter reporter;
    benchmark::RunSpecifiedBenchmarks(&reporter);

    auto medianOf = [&](const std::map<std::string, double>& m, int pic, int e) {
        const std::string key = std::string("encode/") + kPictureNames[pic] + "/" + kEncoderNames[e] + "/" +
                                std::to_string(pic) + "/" + std::to_string(e);
        const auto it = m.find(key);
        return it == m.end() ? NAN : it->second;
    };
    auto median = [&](int pic, int e) { return medianOf(reporter.medians, pic, e); };
    auto cpu = [&](int pic, int e) { return medianOf(reporter.cpuMedians, pic, e); };
    std::printf("\nquality %d, 4:2:0; ratios of median times (higher is faster for ours)\n", kQuality);
    for (int pic = 0; pic < 2; ++pic) {
        const BgrPicture& p = Picture(pic);
        const auto ours = EncodeOurs(p), flt = EncodeFloatOpt(p), tj = EncodeTurbo(p);
        std::printf("%-7s speed vs float_opt %.2fx, vs tj_default %.2fx | bytes %zu / %zu = %.4f (tj %zu) | "
                    "PSNR %.3f / %.3f dB, diff %+.3f dB (tj %.3f)\n",
                    kPictureNames[pic], median(pic, 1) / median(pic, 0), median(pic, 2) / median(pic, 0), ours.size(),
                    flt.size(), static_cast<double>(ours.size()) / static_cast<double>(flt.size()), tj.size(),
                    Psnr(ours, p), Psnr(flt, p), Psnr(ours, p) - Psnr(flt, p), Psnr(tj, p));
        std::printf("        CPU time: vs float_opt %.2fx, vs tj_default %.2fx | float_opt uses our tables: %s\n",
                    cpu(pic, 1) / cpu(pic, 0), cpu(pic, 2) / cpu(pic, 0), SameQuantTables(ours, flt) ? "yes" : "NO");
    }
    std::printf("17x13   ours %.2f us, float_opt %.2f us, tj_default %.2f us (CPU: ours %.2f us)\n", median(2, 0),
                median(2, 1), median(2, 2), cpu(2, 0));
    for (int pic = 0; pic < 2; ++pic) {
        std::printf("%-7s peak memory above the input: ours %.2f MiB (heap %.2f MiB), float_opt %.2f MiB, "
                    "tj_default %.2f MiB\n",
                    kPictureNames[pic], peaks[pic][0] / 1024.0, heapMiB[pic], peaks[pic][1] / 1024.0, peaks[pic][2] / 1024.0);
    }
    return 0;
}
