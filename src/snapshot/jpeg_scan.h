// Scans, MCUs and block coding (T.81 Annex F.1.2, baseline). The statistics pass and the
// writing pass walk the blocks in the same order through WalkScan. Portable.
#pragma once

#include <bit>
#include <cstdint>
#include <vector>

#include "snapshot/cjpeg.h"
#include "snapshot/jpeg_bitwriter.h"
#include "snapshot/jpeg_dct.h"
#include "snapshot/jpeg_huffman.h"

namespace orv::jpeg {

// Components in order, grouped while the sum of H x V stays within 10 blocks per MCU.
std::vector<std::vector<int>> PlanScans(const std::vector<cJpeg::Component>& comps);

// Calls f(k, block, mask) for every block of the scan in coding order, k being the
// position of the component in the scan, mask the block's non-zero mask, and block null
// for a dummy block at an edge MCU.
template <class F>
void WalkScan(const std::vector<cJpeg::Component>& comps, const std::vector<int>& scan, int width,
              int height, int hMax, int vMax, F&& f) {
    if (scan.size() == 1) {
        const cJpeg::Component& c = comps[static_cast<std::size_t>(scan[0])];
        const std::int16_t* p = c.coefficients.data();
        const std::uint64_t* m = c.masks.data();
        const std::size_t n = static_cast<std::size_t>(c.blocksWide) * static_cast<std::size_t>(c.blocksHigh);
        for (std::size_t b = 0; b < n; ++b, p += 64) f(0, p, m[b]);
        return;
    }
    const int mcusWide = (width + 8 * hMax - 1) / (8 * hMax);
    const int mcusHigh = (height + 8 * vMax - 1) / (8 * vMax);
    for (int my = 0; my < mcusHigh; ++my) {
        for (int mx = 0; mx < mcusWide; ++mx) {
            for (std::size_t k = 0; k < scan.size(); ++k) {
                const cJpeg::Component& c = comps[static_cast<std::size_t>(scan[k])];
                for (int by = 0; by < c.v; ++by) {
                    const int gy = my * c.v + by;
                    for (int bx = 0; bx < c.h; ++bx) {
                        const int gx = mx * c.h + bx;
                        if (gx < c.blocksWide && gy < c.blocksHigh) {
                            const std::size_t b = static_cast<std::size_t>(gy) * static_cast<std::size_t>(c.blocksWide) +
                                                  static_cast<std::size_t>(gx);
                            f(static_cast<int>(k), c.coefficients.data() + 64 * b, c.masks[b]);
                        } else {
                            f(static_cast<int>(k), nullptr, std::uint64_t{0});
                        }
                    }
                }
            }
        }
    }
}

// Counts the AC run/size symbols of one block whose non-zero mask is `mask`. Runs of 16
// zeros (ZRL) are added up in `zrl`, kept in a register by the caller rather than in the
// table, where every coefficient would wait on the previous increment.
inline void CountAc(const std::int16_t* zz, std::uint64_t mask, SymbolCounts& ac, std::uint32_t& zrl) {
    mask &= ~1ull;
    int last = 0;
    while (mask) {
        const int z = std::countr_zero(mask);
        mask &= mask - 1;
        const int run = z - last - 1;
        zrl += static_cast<std::uint32_t>(run >> 4);
        ++ac[static_cast<std::size_t>((run & 15) * 16 + Category(zz[z]))];
        last = z;
    }
    if (last != 63) ++ac[0];
}

// Writes one block (null: a dummy block) whose non-zero mask is `mask`.
inline void EncodeBlock(BitWriter& bw, const std::int16_t* zz, std::uint64_t mask, int& pred, const HuffmanCodes& dc,
                        const HuffmanCodes& ac) {
    if (!zz) {
        bw.Put(dc.code[0], dc.length[0]);
        bw.Put(ac.code[0], ac.length[0]);
        return;
    }
    const int diff = zz[0] - pred;
    pred = zz[0];
    {
        const int cat = Category(diff);
        const std::uint32_t extra = static_cast<std::uint32_t>(diff + (diff >> 31)) & ((1u << cat) - 1u);
        bw.Put((static_cast<std::uint32_t>(dc.code[static_cast<std::size_t>(cat)]) << cat) | extra,
               dc.length[static_cast<std::size_t>(cat)] + cat);
    }
    mask &= ~1ull;
    int last = 0;
    while (mask) {
        const int z = std::countr_zero(mask);
        mask &= mask - 1;
        int run = z - last - 1;
        while (run >= 16) {
            bw.Put(ac.code[0xF0], ac.length[0xF0]);
            run -= 16;
        }
        const int v = zz[z];
        const int cat = Category(v);
        const std::size_t sym = static_cast<std::size_t>(run * 16 + cat);
        const std::uint32_t extra = static_cast<std::uint32_t>(v + (v >> 31)) & ((1u << cat) - 1u);
        bw.Put((static_cast<std::uint32_t>(ac.code[sym]) << cat) | extra, ac.length[sym] + cat);
        last = z;
    }
    if (last != 63) bw.Put(ac.code[0], ac.length[0]);
}

}  // namespace orv::jpeg
