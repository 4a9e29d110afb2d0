// modJpeg: saving a snapshot picture as a JPEG file with the program's own encoder.
// Portable: the picture is a 24-bit DIB-layout buffer (the Win32 skin has the cImage
// overload). Errors of the encoder propagate as JpegError; the snapshot flow ignores them.
#pragma once

#include <string>

#include "snapshot/image_rows.h"

namespace orv {

// The address that ends the first line of the comment.
inline constexpr const char* kMakerWebAddress = "https://orvanta.app";

// "  Snapshot Created in Tessara - <address>\r\n  Jpeg Quality <quality>"
std::string SnapshotComment(int quality);

// Encodes the whole picture at the quality with the default sampling (4:2:0) and writes
// it under fileName (UTF-8); an existing file of that name is deleted first, also when it
// is read-only, hidden or a system file.
void SaveJpeg(const BgrView& image, const std::string& fileName, int quality);

}  // namespace orv
