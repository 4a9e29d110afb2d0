// cJpeg::Encode: statistics pass, optimal tables, then the file in one buffer.
#include "snapshot/cjpeg.h"
#include "snapshot/jpeg_markers.h"
#include "snapshot/jpeg_scan.h"

namespace orv {

namespace jpeg {

std::vector<std::vector<int>> PlanScans(const std::vector<cJpeg::Component>& comps) {
    std::vector<std::vector<int>> scans;
    int blocks = 0;
    for (std::size_t i = 0; i < comps.size(); ++i) {
        const int n = comps[i].h * comps[i].v;
        if (scans.empty() || blocks + n > 10) {
            scans.emplace_back();
            blocks = 0;
        }
        scans.back().push_back(static_cast<int>(i));
        blocks += n;
    }
    return scans;
}

}  // namespace jpeg

std::vector<std::uint8_t> cJpeg::Encode() {
    using namespace jpeg;
    const std::vector<std::vector<int>> scans = PlanScans(comps_);
    const int tables = comps_.size() > 1 ? 2 : 1;
    auto tableOf = [](int compIndex) { return compIndex == 0 ? 0 : 1; };
    const bool sampled = width_ > 0 && height_ > 0 && !comps_.empty() && !comps_[0].coefficients.empty();

    // Statistics pass: DC counts at 2t, AC counts at 2t + 1. The AC symbols of the real
    // blocks were counted by Sample; here come the DC symbols in coding order and the
    // dummy blocks (DC difference 0, then EOB).
    SymbolCounts counts[4] = {};
    if (sampled) {
        std::uint32_t zrl[2] = {0, 0};
        for (const std::vector<int>& scan : scans) {
            for (const int i : scan) {
                const Component& c = comps_[static_cast<std::size_t>(i)];
                SymbolCounts& ac = counts[2 * tableOf(i) + 1];
                for (std::size_t s = 0; s < 256; ++s) ac[s] += c.acCounts[s];
                zrl[tableOf(i)] += c.acZrl;
            }
            int pred[4] = {0, 0, 0, 0};
            WalkScan(comps_, scan, width_, height_, hMax_, vMax_, [&](int k, const std::int16_t* block, std::uint64_t) {
                const int i = scan[static_cast<std::size_t>(k)];
                const int t = tableOf(i);
                if (!block) {
                    ++counts[2 * t][0];
                    ++counts[2 * t + 1][0];
                    return;
                }
                const Component& c = comps_[static_cast<std::size_t>(i)];
                const int dc = c.dcs[static_cast<std::size_t>(block - c.coefficients.data()) / 64];
                ++counts[2 * t][static_cast<std::size_t>(Category(dc - pred[k]))];
                pred[k] = dc;
            });
        }
        counts[1][0xF0] += zrl[0];
        counts[3][0xF0] += zrl[1];
    }
    HuffmanTableDef defs[4];
    HuffmanCodes codes[4];
    std::uint64_t bits = 0;
    for (int i = 0; i < 2 * tables; ++i) {
        defs[i] = BuildOptimalTable(counts[i]);
        codes[i] = DeriveCodes(defs[i], i % 2 == 0);
        for (int s = 0; s < 256; ++s) {
            const std::uint64_t extra = i % 2 == 0 ? static_cast<std::uint64_t>(s) : static_cast<std::uint64_t>(s & 15);
            bits += counts[i][static_cast<std::size_t>(s)] * (codes[i].length[static_cast<std::size_t>(s)] + extra);
        }
    }

    ByteSink out;
    out.Reserve(static_cast<std::size_t>(bits / 8 + bits / 800) + 1000 + comment_.size() + 1200);
    EmitSoi(out);
    EmitApp0(out);
    EmitCom(out, comment_);
    for (int t = 0; t < tables; ++t) EmitDqt(out, quant_[static_cast<std::size_t>(t)], t);
    EmitSof0(out, width_, height_, comps_);
    static constexpr int kDhtIds[4] = {0x00, 0x10, 0x01, 0x11};
    for (int i = 0; i < 2 * tables; ++i) EmitDht(out, defs[i], kDhtIds[i]);
    for (const std::vector<int>& scan : scans) {
        EmitSos(out, comps_, scan);
        if (!sampled) continue;
        BitWriter bw(out);
        int pred[4] = {0, 0, 0, 0};
        WalkScan(comps_, scan, width_, height_, hMax_, vMax_, [&](int k, const std::int16_t* block, std::uint64_t mask) {
            const int t = tableOf(scan[static_cast<std::size_t>(k)]);
            bw.ReserveBlock();
            EncodeBlock(bw, block, mask, pred[k], codes[2 * t], codes[2 * t + 1]);
            bw.CommitBlock();
        });
        bw.Finish();
    }
    EmitEoi(out);
    return out.Take();
}

}  // namespace orv
