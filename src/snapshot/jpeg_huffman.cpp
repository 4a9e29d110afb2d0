#include "snapshot/jpeg_huffman.h"

#include "snapshot/jpeg_error.h"

namespace orv::jpeg {

HuffmanTableDef BuildOptimalTable(const SymbolCounts& counts) {
    // Only symbols that occur take part, renumbered 0 .. n - 1 by increasing value (so an
    // order of indices is the order of values), the reserved code point last: a small
    // picture with a few symbols costs a few steps, not a walk over all 257.
    constexpr int kSymbols = 257;  // 256 real symbols and the reserved code point
    std::array<std::uint64_t, kSymbols> freq;
    std::array<int, kSymbols> symbol, codesize, others, live;
    int n = 0;
    for (int i = 0; i < 256; ++i) {
        const std::uint32_t c = counts[static_cast<std::size_t>(i)];
        if (!c) continue;
        symbol[static_cast<std::size_t>(n)] = i;
        freq[static_cast<std::size_t>(n++)] = c;
    }
    symbol[static_cast<std::size_t>(n)] = 256;
    freq[static_cast<std::size_t>(n++)] = 1;
    for (int i = 0; i < n; ++i) {
        codesize[static_cast<std::size_t>(i)] = 0;
        others[static_cast<std::size_t>(i)] = -1;
        live[static_cast<std::size_t>(i)] = i;
    }
    int nLive = n;

    // Figure K.1.
    for (;;) {
        int p1 = -1, p2 = -1;  // positions in `live` of V1 and V2
        std::uint64_t f1 = ~0ull, f2 = ~0ull;
        for (int p = 0; p < nLive; ++p) {  // <= takes the higher symbol on a tie
            const std::uint64_t f = freq[static_cast<std::size_t>(live[static_cast<std::size_t>(p)])];
            if (f <= f1) { f2 = f1; p2 = p1; f1 = f; p1 = p; }
            else if (f <= f2) { f2 = f; p2 = p; }
        }
        if (p2 < 0) break;
        int v1 = live[static_cast<std::size_t>(p1)], v2 = live[static_cast<std::size_t>(p2)];
        freq[static_cast<std::size_t>(v1)] += freq[static_cast<std::size_t>(v2)];
        freq[static_cast<std::size_t>(v2)] = 0;
        for (int p = p2; p + 1 < nLive; ++p) live[static_cast<std::size_t>(p)] = live[static_cast<std::size_t>(p + 1)];
        --nLive;
        ++codesize[static_cast<std::size_t>(v1)];
        while (others[static_cast<std::size_t>(v1)] >= 0) {
            v1 = others[static_cast<std::size_t>(v1)];
            ++codesize[static_cast<std::size_t>(v1)];
        }
        others[static_cast<std::size_t>(v1)] = v2;
        ++codesize[static_cast<std::size_t>(v2)];
        while (others[static_cast<std::size_t>(v2)] >= 0) {
            v2 = others[static_cast<std::size_t>(v2)];
            ++codesize[static_cast<std::size_t>(v2)];
        }
    }

    // Figure K.2. A code size is at most n - 1 (at most 256).
    std::array<int, kSymbols + 1> bits{};
    int maxSize = 0;
    for (int i = 0; i < n; ++i) {
        const int size = codesize[static_cast<std::size_t>(i)];
        if (size) ++bits[static_cast<std::size_t>(size)];
        if (size > maxSize) maxSize = size;
    }
    // Figure K.3: no code longer than 16 bits, then the reserved code point goes.
    for (int i = maxSize; i > 16; --i) {
        while (bits[static_cast<std::size_t>(i)] > 0) {
            int j = i - 2;
            while (bits[static_cast<std::size_t>(j)] == 0) --j;
            bits[static_cast<std::size_t>(i)] -= 2;
            ++bits[static_cast<std::size_t>(i - 1)];
            bits[static_cast<std::size_t>(j + 1)] += 2;
            --bits[static_cast<std::size_t>(j)];
        }
    }
    int longest = 16;
    while (longest > 0 && bits[static_cast<std::size_t>(longest)] == 0) --longest;
    if (longest > 0) --bits[static_cast<std::size_t>(longest)];

    HuffmanTableDef def;
    for (int i = 1; i <= 16; ++i) def.bits[static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(bits[static_cast<std::size_t>(i)]);
    // Figure K.4: the real symbols by code size, then by value.
    std::array<int, kSymbols + 1> start{};
    for (int i = 0; i + 1 < n; ++i) {
        if (codesize[static_cast<std::size_t>(i)]) ++start[static_cast<std::size_t>(codesize[static_cast<std::size_t>(i)])];
    }
    int sum = 0;
    for (int size = 0; size <= maxSize; ++size) {
        const int k = start[static_cast<std::size_t>(size)];
        start[static_cast<std::size_t>(size)] = sum;
        sum += k;
    }
    def.values.resize(static_cast<std::size_t>(sum));
    for (int i = 0; i + 1 < n; ++i) {
        const int size = codesize[static_cast<std::size_t>(i)];
        if (size) {
            def.values[static_cast<std::size_t>(start[static_cast<std::size_t>(size)]++)] =
                static_cast<std::uint8_t>(symbol[static_cast<std::size_t>(i)]);
        }
    }
    return def;
}

HuffmanCodes DeriveCodes(const HuffmanTableDef& def, bool isDc) {
    int total = 0;
    for (int i = 1; i <= 16; ++i) total += def.bits[static_cast<std::size_t>(i)];
    if (total > 256 || static_cast<std::size_t>(total) != def.values.size()) throw JpegError(1, kErrBadHuffmanTable);

    HuffmanCodes out;
    std::uint32_t code = 0;
    int k = 0;
    for (int len = 1; len <= 16; ++len) {
        for (int n = 0; n < def.bits[static_cast<std::size_t>(len)]; ++n, ++k) {
            const int v = def.values[static_cast<std::size_t>(k)];
            if ((isDc && v > 15) || out.length[static_cast<std::size_t>(v)] != 0) throw JpegError(1, kErrBadHuffmanTable);
            out.code[static_cast<std::size_t>(v)] = static_cast<std::uint16_t>(code);
            out.length[static_cast<std::size_t>(v)] = static_cast<std::uint8_t>(len);
            ++code;
        }
        // Codes of one length must leave room (the all-ones code stays unused).
        if (code >= (1u << len)) throw JpegError(1, kErrBadHuffmanTable);
        code <<= 1;
    }
    return out;
}

}  // namespace orv::jpeg
