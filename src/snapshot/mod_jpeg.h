// modJpeg: saving a snapshot picture as a JPEG file with the program's own encoder.
// Portable: the picture comes through a PictureSampler (the Win32 skin has the cImage
// overload, snapshot/win/dc_sampler.h). Errors of the encoder propagate as JpegError; the
// snapshot flow ignores them.
#pragma once

#include <string>

#include "snapshot/jpeg_sampler.h"

namespace orv {

// The address that ends the first line of the comment.
inline constexpr const char* kMakerWebAddress = "https://orvanta.app";

// "  Snapshot Created in Tessara - <address>\r\n  Jpeg Quality <quality>"
std::string SnapshotComment(int quality);

// Encodes the width x height picture at the quality with the default sampling (4:2:0) and
// the comment (written byte for byte), and writes it under fileName (UTF-8); an existing
// file of that name is deleted first, also when it is read-only, hidden or a system file.
void SaveJpeg(jpeg::PictureSampler& picture, int width, int height, const std::string& comment,
              const std::string& fileName, int quality);

}  // namespace orv
