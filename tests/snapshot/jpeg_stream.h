// A small reader of JPEG marker segments for the tests: what was written, in which order,
// with which lengths. Written from T.81 Annex B, independent of the encoder's writer.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv::test {

struct Segment {
    std::uint8_t marker = 0;             // the byte after 0xFF
    std::size_t offset = 0;              // of the 0xFF
    std::vector<std::uint8_t> payload;   // after the length field (empty for SOI, EOI)
    std::size_t declaredLength = 0;      // the length field (0 for SOI, EOI)
    std::vector<std::uint8_t> entropy;   // for SOS: the coded data up to the next marker
};

struct Stream {
    bool ok = false;
    std::string error;
    std::vector<Segment> segments;
    std::size_t trailing = 0;  // bytes after EOI
};

Stream ReadStream(const std::vector<std::uint8_t>& file);

// The marker bytes in order, e.g. {0xD8, 0xE0, 0xFE, 0xDB, ...}.
std::vector<std::uint8_t> MarkerOrder(const Stream& s);

// The coded data of a scan without its stuffed zero bytes; false when a 0xFF is not
// followed by 0x00.
bool Unstuff(const std::vector<std::uint8_t>& entropy, std::vector<std::uint8_t>& out);

}  // namespace orv::test
