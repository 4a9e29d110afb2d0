#include "jpeg_stream.h"

namespace orv::test {

Stream ReadStream(const std::vector<std::uint8_t>& f) {
    Stream s;
    std::size_t i = 0;
    auto fail = [&](const std::string& why) {
        s.ok = false;
        s.error = why + " at " + std::to_string(i);
        return s;
    };
    while (i < f.size()) {
        if (f[i] != 0xFF || i + 1 >= f.size()) return fail("no marker");
        Segment seg;
        seg.offset = i;
        seg.marker = f[i + 1];
        i += 2;
        if (seg.marker == 0xD8 || seg.marker == 0xD9) {
            s.segments.push_back(seg);
            if (seg.marker == 0xD9) {
                s.trailing = f.size() - i;
                s.ok = true;
                return s;
            }
            continue;
        }
        if (i + 2 > f.size()) return fail("short length");
        seg.declaredLength = static_cast<std::size_t>(f[i] << 8 | f[i + 1]);
        if (seg.declaredLength < 2 || i + seg.declaredLength > f.size()) return fail("bad length");
        seg.payload.assign(f.begin() + static_cast<std::ptrdiff_t>(i + 2), f.begin() + static_cast<std::ptrdiff_t>(i + seg.declaredLength));
        i += seg.declaredLength;
        if (seg.marker == 0xDA) {
            const std::size_t start = i;
            while (i + 1 < f.size() && !(f[i] == 0xFF && f[i + 1] != 0x00)) i += f[i] == 0xFF ? 2 : 1;
            seg.entropy.assign(f.begin() + static_cast<std::ptrdiff_t>(start), f.begin() + static_cast<std::ptrdiff_t>(i));
        }
        s.segments.push_back(std::move(seg));
    }
    return fail("no EOI");
}

std::vector<std::uint8_t> MarkerOrder(const Stream& s) {
    std::vector<std::uint8_t> m;
    for (const Segment& seg : s.segments) m.push_back(seg.marker);
    return m;
}

bool Unstuff(const std::vector<std::uint8_t>& e, std::vector<std::uint8_t>& out) {
    out.clear();
    for (std::size_t i = 0; i < e.size(); ++i) {
        out.push_back(e[i]);
        if (e[i] == 0xFF) {
            if (i + 1 >= e.size() || e[i + 1] != 0x00) return false;
            ++i;
        }
    }
    return true;
}

}  // namespace orv::test
