// Small file helpers shared by the tests: whole files, whole folder trees, one temp folder.
#pragma once

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
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

// A folder's whole content: relative path (with '/') -> file text; an empty folder is "name/".
using Tree = std::map<std::string, std::string>;

inline void PlantTree(const std::filesystem::path& root, const Tree& tree) {
    for (const auto& [rel, text] : tree) {
        if (rel.ends_with('/')) std::filesystem::create_directories(root / PathFromUtf8(rel));
        else WriteFile(root / PathFromUtf8(rel), text);
    }
}

// Empty when the folder does not exist.
inline Tree ReadTree(const std::filesystem::path& root) {
    Tree tree;
    std::error_code ec;
    for (std::filesystem::recursive_directory_iterator it(root, ec), end; !ec && it != end; it.increment(ec)) {
        const std::u8string rel = it->path().lexically_relative(root).generic_u8string();
        const std::string name(rel.begin(), rel.end());
        if (!it->is_directory()) tree[name] = ReadFile(it->path());
        else if (std::filesystem::is_empty(it->path())) tree[name + "/"] = "";
    }
    return tree;
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
