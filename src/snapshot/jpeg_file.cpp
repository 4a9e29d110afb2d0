#include "snapshot/jpeg_file.h"

#include <fstream>
#include <system_error>

#include "base/paths.h"

namespace orv::jpeg {

namespace fs = std::filesystem;

bool PathExists(const std::string& utf8Name) {
    std::error_code ec;
    return !utf8Name.empty() && fs::exists(PathFromUtf8(utf8Name), ec);
}

bool FileExists(const std::string& utf8Name) {
    std::error_code ec;
    if (utf8Name.empty()) return false;
    const fs::file_status st = fs::status(PathFromUtf8(utf8Name), ec);
    return !ec && fs::exists(st) && !fs::is_directory(st);
}

bool DeleteFileForced(const std::string& utf8Name) {
    const fs::path p = PathFromUtf8(utf8Name);
    std::error_code ec;
    // On Windows, owner_write clears the read-only attribute.
    fs::permissions(p, fs::perms::owner_read | fs::perms::owner_write, fs::perm_options::add, ec);
    fs::remove(p, ec);
    return !fs::exists(p, ec);
}

bool WriteNewFile(const std::string& utf8Name, const std::vector<std::uint8_t>& bytes) {
    std::ofstream f(PathFromUtf8(utf8Name), std::ios::binary | std::ios::trunc);
    if (!f) return false;
    f.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    f.close();
    return static_cast<bool>(f);
}

}  // namespace orv::jpeg
