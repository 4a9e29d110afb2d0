// UTF-8 text <-> std::filesystem paths. On Windows a path built from UTF-8 reaches the
// wide file APIs unchanged, so non-ASCII names survive.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orv {

inline std::filesystem::path PathFromUtf8(std::string_view utf8) {
    return std::filesystem::path(std::u8string(utf8.begin(), utf8.end()));
}

inline std::string Utf8FromPath(const std::filesystem::path& p) {
    std::u8string s = p.u8string();
    return std::string(s.begin(), s.end());
}

}  // namespace orv
