// Small file helpers shared by the tests: one whole-file writer and reader, one temp folder.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "base/paths.h"

namespace orv::test {

// Writes text as the whole file, making its folder first.
inline void WriteFile(const std::filesystem::path& p, const std::string& text) {
    std::filesystem::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

// The whole file; empty when it cannot be read.
inline std::string ReadFile(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(f), {});
}

// A name no other test (in this or another process) uses at the same time.
inline std::string UniqueName(const char* prefix) {
    static std::atomic<int> counter{0};
    const auto ticks = std::chrono::steady_clock::now().time_since_epoch().count();
    return std::string(prefix) + "-" + std::to_string(ticks) + "-" + std::to_string(++counter);
}

// A fresh folder under the temp folder, removed with everything in it (read-only entries too).
class TempFolder {
public:
    TempFolder() : path_(std::filesystem::temp_directory_path() / PathFromUtf8(UniqueName("orv"))) {
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        for (auto& e : std::filesystem::recursive_directory_iterator(path_, ec))
            std::filesystem::permissions(e.path(), std::filesystem::perms::owner_all, std::filesystem::perm_options::add, ec);
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return Utf8FromPath(path_); }
    std::string operator/(const std::string& rel) const { return Utf8FromPath(path_ / PathFromUtf8(rel)); }

private:
    std::filesystem::path path_;
};

}  // namespace orv::test
