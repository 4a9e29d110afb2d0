// libjpeg-turbo as the independent decoder of the encoder's files (tests and fuzz target).
// Its errors and warnings are collected, never printed or fatal.
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

// Empty when libjpeg reads the file without a warning and every coefficient of every block
// is the one the encoder's stages make from the picture: the sampler's picture at the
// component's size (as libjpeg computes it from the frame; a component as many blocks wide
// and high as the one before: that one's size), converted, padded by repeating the last row
// and column, transformed and quantised with the file's table. Otherwise what differs first.
std::string CheckCoefficients(const std::vector<std::uint8_t>& file, const BgrPicture& picture);

// The file libjpeg writes from the file's coefficients and quantisation tables with Huffman
// tables optimised its own way (the same T.81 K.2 procedure and tie rule).
std::vector<std::uint8_t> Transcode(const std::vector<std::uint8_t>& file);

}  // namespace orv::test
