// libjpeg-turbo as the independent decoder of the encoder's files (tests and fuzz target).
// Its errors and warnings end the reading and are reported, never printed or fatal.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "snapshot/image_rows.h"

namespace orv::test {

// The pixels libjpeg decodes (float inverse DCT, box upsampling, grey as grey BGR); problem
// is empty when it read the file without an error or a warning.
struct Decoded {
    std::string problem;
    BgrPicture picture;
};
Decoded DecodePixels(const std::vector<std::uint8_t>& file);

// Empty when libjpeg reads the file without a warning, every coefficient is the one the
// encoder's stages make from the picture (the sampler's picture at the component's size as
// libjpeg computes it, or the one before's when it has as many blocks; converted; padded by
// repeating the last row and column; transformed; quantised by the file's table), and
// libjpeg coding them with its own optimised tables (T.81 K.2 and its tie rule, the same
// stuffing and fill) writes the very same file (when one scan holds all components).
std::string CheckCoefficients(const std::vector<std::uint8_t>& file, const BgrPicture& picture);

}  // namespace orv::test
