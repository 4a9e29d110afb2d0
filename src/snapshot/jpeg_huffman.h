// Huffman tables optimised for the image (T.81 Annex K.2) and their codes (Annex C).
// Portable.
#pragma once

#include <array>
#include <bit>
#include <cstdint>
#include <vector>

namespace orv::jpeg {

// Symbol counts of one table: 256 symbols.
using SymbolCounts = std::array<std::uint32_t, 256>;

// A table as written in a DHT segment: counts of codes of lengths 1..16 and the symbols
// by increasing code length, then by increasing value.
struct HuffmanTableDef {
    std::array<std::uint8_t, 17> bits{};  // bits[1..16]
    std::vector<std::uint8_t> values;
};

// Figures K.1 to K.4: code sizes with one reserved code point of count 1 (so no code is
// all ones), limited to 16 bits. Ties between equal counts take the higher symbol first.
HuffmanTableDef BuildOptimalTable(const SymbolCounts& counts);

// Codes and lengths per symbol (Annex C). Raises "Bad Huffman Table" for more than 256
// symbols, a symbol too large for its class (DC: above 15), a symbol listed twice, or
// counts that do not form a prefix code.
struct HuffmanCodes {
    std::array<std::uint16_t, 256> code{};
    std::array<std::uint8_t, 256> length{};  // 0: symbol not in the table
};
HuffmanCodes DeriveCodes(const HuffmanTableDef& def, bool isDc);

// Number of magnitude bits of a value (0 for 0).
inline int Category(int v) {
    return static_cast<int>(std::bit_width(static_cast<unsigned>(v < 0 ? -v : v)));
}

}  // namespace orv::jpeg
