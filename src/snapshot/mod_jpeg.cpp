#include "snapshot/mod_jpeg.h"

#include "snapshot/cjpeg.h"
#include "snapshot/jpeg_file.h"

namespace orv {

std::string SnapshotComment(int quality) {
    return std::string("  Snapshot Created in Tessara - ") + kMakerWebAddress + "\r\n" + "  Jpeg Quality " +
           std::to_string(quality);
}

void SaveJpeg(jpeg::PictureSampler& picture, int width, int height, const std::string& comment,
              const std::string& fileName, int quality) {
    cJpeg jpeg;
    jpeg.Quality(quality);
    jpeg.Comment(comment);
    jpeg.Sample(picture, width, height);
    if (jpeg::FileExists(fileName)) jpeg::DeleteFileForced(fileName);
    jpeg.SaveFile(fileName);
}

}  // namespace orv
