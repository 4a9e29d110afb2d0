// The independent decoder of the tests: libjpeg-turbo's libjpeg API. Errors and warnings
// are collected, never printed or fatal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace orv::test {

struct DecodedPixels {
    bool ok = false;
    int warnings = 0;
    std::string message;
    int width = 0, height = 0, components = 0;
    std::vector<std::uint8_t> pixels;  // RGB (or grey), top-down, no padding
};

struct DecodedCoefficients {
    bool ok = false;
    int warnings = 0;
    std::string message;
    int width = 0, height = 0;
    struct Component {
        int id = 0, h = 0, v = 0, table = 0;
        int blocksWide = 0, blocksHigh = 0;  // ceil(sampled size / 8), as the decoder computes them
        std::vector<std::int16_t> natural;   // 64 per block in natural order, raster order
        std::vector<std::uint16_t> quant;    // the table in natural order
    };
    std::vector<Component> comps;
};

DecodedPixels DecodePixels(const std::vector<std::uint8_t>& file);
DecodedCoefficients DecodeCoefficients(const std::vector<std::uint8_t>& file);

}  // namespace orv::test
