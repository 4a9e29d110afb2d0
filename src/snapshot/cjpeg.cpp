#include "snapshot/cjpeg.h"

#include <algorithm>

#include "snapshot/jpeg_colour.h"
#include "snapshot/jpeg_error.h"
#include "snapshot/jpeg_file.h"
#include "snapshot/jpeg_scan.h"

namespace orv {

cJpeg::cJpeg() {
    SetSamplingFrequencies(2, 2, 1, 1, 1, 1);
    Quality(75);
}

void cJpeg::Quality(int quality) {
    if (quality < 1 || quality > 100) return;
    const int scale = jpeg::QualityScale(quality);
    quant_[0] = jpeg::MakeQuantTable(jpeg::kLuminanceBase, scale);
    quant_[1] = jpeg::MakeQuantTable(jpeg::kChrominanceBase, scale);
}

void cJpeg::SetSamplingFrequencies(int h1, int v1, int h2, int v2, int h3, int v3) {
    auto valid = [](int f) { return f >= 1 && f <= 4; };
    if (!valid(h1) || !valid(v1)) throw JpegError(1, kErrInvalidSampling);
    std::vector<Component> comps;
    if (h2 == 0 && v2 == 0 && h3 == 0 && v3 == 0) {
        comps.resize(1);
        comps[0].id = 1;
    } else {
        for (int f : {h2, h3, v2, v3}) {
            if (!valid(f)) throw JpegError(1, kErrInvalidSampling);
        }
        comps.resize(3);
        const int hs[3] = {h1, h2, h3}, vs[3] = {v1, v2, v3};
        for (int i = 0; i < 3; ++i) {
            comps[static_cast<std::size_t>(i)].id = i + 1;
            comps[static_cast<std::size_t>(i)].h = hs[i];
            comps[static_cast<std::size_t>(i)].v = vs[i];
            comps[static_cast<std::size_t>(i)].table = i == 0 ? 0 : 1;
        }
    }
    hMax_ = vMax_ = 1;
    for (const Component& c : comps) {
        hMax_ = std::max(hMax_, c.h);
        vMax_ = std::max(vMax_, c.v);
    }
    comps_ = std::move(comps);
}

void cJpeg::Comment(std::string text) {
    if (text.size() > 65533) throw JpegError(1, kErrIllegalCommentLength);
    comment_ = std::move(text);
}

int cJpeg::SampleBuffer(const BgrView& source, int width, int height, int left, int top) {
    jpeg::BufferSampler sampler(source, left, top, width, height);
    if (!sampler.Valid()) return 1;
    return Sample(sampler, width, height);
}

struct cJpeg::Group {
    std::size_t first, last;  // components first .. last - 1
    jpeg::PictureSampler* sampler;
    std::vector<float> strips[3];  // by component index: 8 rows of the padded width
    int next = 0;                  // next block row
};

int cJpeg::Sample(jpeg::PictureSampler& sampler, int width, int height) {
    width_ = width;
    height_ = height;
    ClearCoefficients();
    for (Component& c : comps_) {
        c.acCounts.fill(0);
        c.acZrl = 0;
    }
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535) return 1;
    SizeComponents(width, height);
    std::vector<std::unique_ptr<jpeg::PictureSampler>> twins;
    std::vector<Group> groups = GroupComponents(sampler, twins);
    const jpeg::DctPath path = jpeg::BestDctPath();
    const bool together = groups.size() > 1 && groups.back().sampler != &sampler;
    if (together ? MakeSideBySide(groups, path) : MakeOneAfterTheOther(groups, path)) return 0;
    // A picture that cannot be made leaves nothing half made: no coefficients, no scan data.
    ClearCoefficients();
    return 1;
}

void cJpeg::ClearCoefficients() {
    for (Component& c : comps_) {
        c.coefficients.clear();
        c.masks.clear();
        c.dcs.clear();
    }
}

void cJpeg::SizeComponents(int width, int height) {
    for (Component& c : comps_) {
        c.width = static_cast<int>((static_cast<std::int64_t>(c.h) * width + hMax_ - 1) / hMax_);
        c.height = static_cast<int>((static_cast<std::int64_t>(c.v) * height + vMax_ - 1) / vMax_);
        c.blocksWide = (c.width + 7) / 8;
        c.blocksHigh = (c.height + 7) / 8;
        c.coefficients.resize(64 * static_cast<std::size_t>(c.blocksWide) * static_cast<std::size_t>(c.blocksHigh));
        c.masks.resize(static_cast<std::size_t>(c.blocksWide) * static_cast<std::size_t>(c.blocksHigh));
        c.dcs.resize(c.masks.size());
    }
}

// Every group after the first gets a twin of the sampler when the sampler has twins, so that
// the groups can go down the picture side by side; otherwise all share the sampler.
std::vector<cJpeg::Group> cJpeg::GroupComponents(jpeg::PictureSampler& sampler,
                                                 std::vector<std::unique_ptr<jpeg::PictureSampler>>& twins) {
    std::vector<Group> groups;
    for (std::size_t first = 0; first < comps_.size();) {
        std::size_t last = first + 1;
        while (last < comps_.size() && comps_[last].blocksWide == comps_[last - 1].blocksWide &&
               comps_[last].blocksHigh == comps_[last - 1].blocksHigh) {
            ++last;
        }
        groups.push_back(Group{first, last, &sampler, {}, 0});
        first = last;
    }
    twins.clear();
    for (std::size_t k = 1; k < groups.size(); ++k) {
        twins.push_back(sampler.Twin());
        if (!twins.back()) {
            twins.clear();
            for (Group& g : groups) g.sampler = &sampler;
            break;
        }
        groups[k].sampler = twins.back().get();
    }
    return groups;
}

bool cJpeg::PrepareGroup(Group& g) {
    for (std::size_t i = g.first; i < g.last; ++i) {
        g.strips[i].assign(8 * static_cast<std::size_t>(8 * comps_[g.first].blocksWide), 0.0f);
    }
    return g.sampler->Prepare(comps_[g.first].width, comps_[g.first].height);
}

// Converts the next block row of the group, transforms and quantises it, and counts its AC
// symbols while it is in the cache.
void cJpeg::MakeBlockRow(Group& g, jpeg::DctPath path) {
    const int by = g.next++;
    const int pictW = comps_[g.first].width, pictH = comps_[g.first].height;
    const int paddedW = 8 * comps_[g.first].blocksWide;
    float* rows[3] = {nullptr, nullptr, nullptr};
    for (std::size_t i = g.first; i < g.last; ++i) rows[i] = g.strips[i].data();
    int prevSource = -1;
    for (int r = 0; r < 8; ++r) {
        const int y = std::min(by * 8 + r, pictH - 1);  // the last row repeats downwards
        const std::size_t off = static_cast<std::size_t>(r) * static_cast<std::size_t>(paddedW);
        if (y == prevSource) {
            for (std::size_t i = g.first; i < g.last; ++i) {
                std::copy_n(rows[i] + off - static_cast<std::size_t>(paddedW), paddedW, rows[i] + off);
            }
            continue;
        }
        prevSource = y;
        jpeg::ConvertRow(g.sampler->Row(y), pictW, rows[0] ? rows[0] + off : nullptr, rows[1] ? rows[1] + off : nullptr,
                         rows[2] ? rows[2] + off : nullptr);
        for (std::size_t i = g.first; i < g.last; ++i) {  // the last column repeats rightwards
            std::fill(rows[i] + off + pictW, rows[i] + off + paddedW, rows[i][off + static_cast<std::size_t>(pictW) - 1]);
        }
    }
    for (std::size_t i = g.first; i < g.last; ++i) {
        Component& c = comps_[i];
        const float* divisors = quant_[static_cast<std::size_t>(c.table)].divisors.data();
        const std::size_t firstBlock = static_cast<std::size_t>(by) * static_cast<std::size_t>(c.blocksWide);
        std::int16_t* coefficients = c.coefficients.data() + 64 * firstBlock;
        const std::uint64_t* masks = c.masks.data() + firstBlock;
        jpeg::DctQuantiseRow(path, rows[i], paddedW, c.blocksWide, divisors, coefficients, c.masks.data() + firstBlock);
        std::uint32_t zrl = 0;
        for (int b = 0; b < c.blocksWide; ++b) {
            c.dcs[firstBlock + static_cast<std::size_t>(b)] = coefficients[64 * b];
            jpeg::CountAc(coefficients + 64 * b, masks[b], c.acCounts, zrl);
        }
        c.acZrl += zrl;
    }
}

// All groups go down the picture together (block rows in proportion to their heights), so
// each source row is read from the cache by every size that needs it. The result is the
// same in any order: every block row depends only on its own picture rows.
bool cJpeg::MakeSideBySide(std::vector<Group>& groups, jpeg::DctPath path) {
    int steps = 0;
    for (Group& g : groups) {
        if (!PrepareGroup(g)) return false;
        steps = std::max(steps, comps_[g.first].blocksHigh);
    }
    for (int s = 1; s <= steps; ++s) {
        for (Group& g : groups) {
            const int upTo = static_cast<int>(static_cast<std::int64_t>(s) * comps_[g.first].blocksHigh / steps);
            while (g.next < upTo) MakeBlockRow(g, path);
        }
    }
    return true;
}

bool cJpeg::MakeOneAfterTheOther(std::vector<Group>& groups, jpeg::DctPath path) {
    for (Group& g : groups) {
        if (!PrepareGroup(g)) return false;
        while (g.next < comps_[g.first].blocksHigh) MakeBlockRow(g, path);
        for (std::vector<float>& strip : g.strips) std::vector<float>().swap(strip);
    }
    return true;
}

int cJpeg::SaveFile(const std::string& fileName) {
    if (fileName.empty()) return 1;
    if (jpeg::PathExists(fileName)) return 2;
    const std::vector<std::uint8_t> bytes = Encode();
    return jpeg::WriteNewFile(fileName, bytes) ? 0 : 3;
}

}  // namespace orv
