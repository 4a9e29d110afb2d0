// Fuzzes the JPEG encoder over sizes, qualities, sampling factors, comments and pixels.
// Every file it writes must decode with libjpeg without a warning, carry exactly the
// coefficients the encoder's stages make from the picture, and come back byte for byte when
// libjpeg re-encodes those coefficients with its own optimised tables.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string>

#include "libjpeg_check.h"
#include "snapshot/cjpeg.h"
#include "snapshot/jpeg_error.h"

namespace {

struct Reader {
    const std::uint8_t* p;
    std::size_t n;
    std::uint8_t Byte() {
        if (!n) return 0;
        --n;
        return *p++;
    }
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    Reader r{data, size};
    const int w = 1 + (r.Byte() | (r.Byte() & 1) << 8);  // 1..512
    const int h = 1 + (r.Byte() & 127);                   // 1..128
    const int quality = static_cast<int>(r.Byte()) - 20;  // also outside 1..100
    int f[6];
    for (int& v : f) v = r.Byte() % 6;                     // 0..5: also invalid ones
    const std::size_t commentLength = r.Byte() % 40;
    std::string comment;
    for (std::size_t i = 0; i < commentLength; ++i) comment.push_back(static_cast<char>(r.Byte()));

    orv::BgrPicture pic(w, h);
    // The rest of the input fills the pixels, repeated.
    for (int y = 0; y < h; ++y) {
        std::uint8_t* row = pic.Row(y);
        for (int i = 0; i < 3 * w; ++i) row[i] = r.n ? r.p[(static_cast<std::size_t>(y) * 3 * static_cast<std::size_t>(w) + static_cast<std::size_t>(i)) % r.n] : static_cast<std::uint8_t>(i * 7 + y);
    }

    orv::cJpeg j;
    j.Quality(quality);
    try {
        j.SetSamplingFrequencies(f[0], f[1], f[2], f[3], f[4], f[5]);
    } catch (const orv::JpegError& e) {
        if (std::strcmp(e.what(), "Invalid Sampling Value") != 0) std::abort();
        return 0;
    }
    j.Comment(comment);
    if (j.SampleBuffer(pic.View(), w, h, 0, 0) != 0) std::abort();
    const std::vector<std::uint8_t> file = j.Encode();

    if (!orv::test::CheckCoefficients(file, pic).empty()) std::abort();
    return 0;
}
