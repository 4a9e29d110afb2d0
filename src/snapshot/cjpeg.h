// cJpeg: the program's own baseline JPEG writer (sequential DCT, Huffman tables optimised
// for the image, 8-bit samples, JFIF 1.01). The picture is converted, transformed and
// quantised once into memory, then coded twice from the stored coefficients (statistics,
// then writing). Portable: the pictures come through a PictureSampler.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "snapshot/image_rows.h"
#include "snapshot/jpeg_dct.h"
#include "snapshot/jpeg_huffman.h"
#include "snapshot/jpeg_sampler.h"
#include "snapshot/jpeg_tables.h"

namespace orv {

namespace jpeg {
// Leaves new elements uninitialised: every coefficient is written before it is read.
template <class T>
struct UninitialisedAllocator : std::allocator<T> {
    template <class U>
    struct rebind {
        using other = UninitialisedAllocator<U>;
    };
    UninitialisedAllocator() = default;
    template <class U>
    UninitialisedAllocator(const UninitialisedAllocator<U>&) noexcept {}
    template <class U>
    void construct(U* p) noexcept {
        ::new (static_cast<void*>(p)) U;
    }
    template <class U, class... A>
    void construct(U* p, A&&... a) {
        ::new (static_cast<void*>(p)) U(std::forward<A>(a)...);
    }
};
using CoefficientStore = std::vector<std::int16_t, UninitialisedAllocator<std::int16_t>>;
}  // namespace jpeg

class cJpeg {
public:
    struct Component {
        int id = 0;             // component index + 1
        int h = 1, v = 1;       // sampling factors
        int table = 0;          // quantisation table: 0 for the first component, else 1
        int width = 0, height = 0;        // sampled size
        int blocksWide = 0, blocksHigh = 0;  // padded size in blocks
        jpeg::CoefficientStore coefficients;  // 64 per block, zig-zag order, raster order
        // One per block: bit z set when coefficient z is not 0. Made with the coefficients,
        // so that the coding passes jump from one non-zero coefficient to the next.
        std::vector<std::uint64_t, jpeg::UninitialisedAllocator<std::uint64_t>> masks;
        // The AC run/size symbols of all its blocks (runs of 16 zeros apart, in acZrl),
        // counted as the blocks are made, while they are in the cache: the order of the
        // blocks does not matter to them. The statistics pass adds the DC symbols, which
        // depend on the coding order, from the DC values kept in dcs (one per block).
        jpeg::SymbolCounts acCounts{};
        std::uint32_t acZrl = 0;
        jpeg::CoefficientStore dcs;
    };

    cJpeg();

    // 1..100 rebuilds both quantisation tables for the quality; other values are ignored.
    void Quality(int quality);

    // One component when H2, V2, H3, V3 are all 0, otherwise three. Raises "Invalid
    // Sampling Value" for a factor outside 1..4.
    void SetSamplingFrequencies(int h1, int v1, int h2, int v2, int h3, int v3);

    // The COM text, written one byte per character. Raises "Illegal Comment Length" for
    // more than 65533 characters.
    void Comment(std::string text);

    // Reads, converts, transforms and quantises a width x height picture. Returns 0, or 1
    // when a picture could not be made (the sampler refused).
    int Sample(jpeg::PictureSampler& sampler, int width, int height);

    // The same from the rectangle (left, top, width x height) of a 24-bit DIB-layout buffer.
    int SampleBuffer(const BgrView& source, int width, int height, int left, int top);

    // Writes the file: 0 when written, 1 for an empty name, 2 when a file of that name
    // exists (it is never overwritten), 3 when the file could not be written. The name is
    // UTF-8.
    int SaveFile(const std::string& fileName);

    // The complete file in memory.
    std::vector<std::uint8_t> Encode();

private:
    // Components whose padded size equals the previous one's share one picture: a group.
    struct Group;

    // The steps of Sample.
    void ClearCoefficients();
    void SizeComponents(int width, int height);
    std::vector<Group> GroupComponents(jpeg::PictureSampler& sampler,
                                       std::vector<std::unique_ptr<jpeg::PictureSampler>>& twins);
    bool PrepareGroup(Group& g);
    void MakeBlockRow(Group& g, jpeg::DctPath path);
    bool MakeSideBySide(std::vector<Group>& groups, jpeg::DctPath path);
    bool MakeOneAfterTheOther(std::vector<Group>& groups, jpeg::DctPath path);

    std::array<jpeg::QuantTable, 2> quant_{};
    std::vector<Component> comps_;
    int hMax_ = 1, vMax_ = 1;
    int width_ = 0, height_ = 0;
    std::string comment_;
};

}  // namespace orv
