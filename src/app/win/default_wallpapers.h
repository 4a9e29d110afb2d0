// The six default wallpapers, made once from the pictures beside the program.
#pragma once

#include <string>

namespace orv {

// Decodes a picture (JPEG, PNG, BMP ...) with the platform's codecs and writes it as a
// 24-bit bitmap file. False when nothing was written.
bool ConvertPictureToBmp(const std::string& picture, const std::string& bmpPath);

}  // namespace orv
