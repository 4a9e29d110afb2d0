#include "snapshot/mod_jpeg.h"

#include "snapshot/cjpeg.h"
#include "snapshot/jpeg_file.h"

namespace orv {

std::string SnapshotComment(int quality) {
    return std::string("  Snapshot Created in Tessara - ") + kMakerWebAddress + "\r\n" + "  Jpeg Quality " +
           std::to_string(quality);
}

void SaveJpeg(const BgrView& image, const std::string& fileName, int quality) {
    cJpeg jpeg;
    jpeg.Quality(quality);
    jpeg.Comment(SnapshotComment(quality));
    jpeg.SampleBuffer(image, image.width, image.height, 0, 0);
    if (jpeg::FileExists(fileName)) jpeg::DeleteFileForced(fileName);
    jpeg.SaveFile(fileName);
}

}  // namespace orv
