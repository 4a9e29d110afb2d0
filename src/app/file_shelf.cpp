#include "app/file_shelf.h"

#include <fstream>
#include <system_error>
#include <vector>

namespace orv {

namespace fs = std::filesystem;

namespace {

bool IsDir(const fs::path& p) {
    std::error_code ec;
    return fs::is_directory(fs::symlink_status(p, ec));
}

bool Exists(const fs::path& p) {
    std::error_code ec;
    return fs::exists(fs::symlink_status(p, ec));
}

// Copies the bytes of one file over another. (std::filesystem::copy_file of MinGW's
// library takes two distinct files for the same one on Windows and refuses to overwrite.)
bool CopyContents(const fs::path& from, const fs::path& to) {
    std::ifstream in(from, std::ios::binary);
    if (!in) return false;
    std::ofstream out(to, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    if (in.peek() != std::ifstream::traits_type::eof()) out << in.rdbuf();
    out.close();
    return static_cast<bool>(out) && !in.bad();
}

// Moves one file, replacing a file of the same name at the target.
bool MoveFile(const fs::path& from, const fs::path& to) {
    std::error_code ec;
    fs::rename(from, to, ec);
    if (!ec) return true;
    // Across volumes, or where rename does not replace: copy, then remove the source.
    if (!CopyContents(from, to)) return false;
    fs::remove(from, ec);
    return !ec;
}

}  // namespace

MoveResult MoveAllEntries(const fs::path& from, const fs::path& to) {
    MoveResult r;
    std::error_code ec;
    if (!IsDir(from)) return r;
    if (!IsDir(to)) {
        fs::create_directories(to, ec);
        if (!IsDir(to)) return r;
    }
    std::vector<fs::path> entries;
    for (fs::directory_iterator it(from, ec), end; !ec && it != end; it.increment(ec))
        entries.push_back(it->path());

    for (const auto& src : entries) {
        const fs::path dst = to / src.filename();
        const bool srcDir = IsDir(src);
        if (!Exists(dst)) {
            fs::rename(src, dst, ec);
            if (!ec) {
                ++r.moved;
                continue;
            }
            if (!srcDir) {
                if (MoveFile(src, dst)) ++r.moved;
                else ++r.skipped;
                continue;
            }
            // A folder that cannot be renamed there (another volume): merge it entry by entry.
        }
        if (srcDir && (IsDir(dst) || !Exists(dst))) {
            MoveResult inner = MoveAllEntries(src, dst);
            r.moved += inner.moved;
            r.skipped += inner.skipped;
            if (inner.skipped == 0 && fs::remove(src, ec)) ++r.moved;
            else ++r.skipped;
        } else if (!srcDir && !IsDir(dst)) {
            if (MoveFile(src, dst)) ++r.moved;
            else ++r.skipped;
        } else {
            ++r.skipped;  // a file and a folder of one name: both stay as they are
        }
    }
    return r;
}

std::string_view PatternFolder(std::string_view pattern) {
    if (pattern.size() >= 2 && pattern.back() == '*' &&
        (pattern[pattern.size() - 2] == '\\' || pattern[pattern.size() - 2] == '/'))
        pattern.remove_suffix(2);
    return pattern;
}

}  // namespace orv
