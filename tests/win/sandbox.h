// Each Win32 test gets its own registry key and folders, removed afterwards.
#pragma once

#include <windows.h>

#include <atomic>
#include <filesystem>
#include <string>

#include "base/paths.h"
#include "base/win/utf.h"

namespace orv::test {

inline std::string UniqueName(const char* prefix) {
    static std::atomic<int> counter{0};
    return std::string(prefix) + "-" + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(++counter) + "-" +
           std::to_string(GetTickCount64());
}

class TestKey {
public:
    TestKey() : path_("Software\\OrvantaTests\\" + UniqueName("key")) {
        HKEY k = nullptr;
        RegCreateKeyExW(HKEY_CURRENT_USER, Widen(path_).c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k, nullptr);
        key_ = k;
    }
    ~TestKey() {
        if (key_) RegCloseKey(key_);
        RegDeleteTreeW(HKEY_CURRENT_USER, Widen(path_).c_str());
        RegDeleteKeyW(HKEY_CURRENT_USER, Widen(path_).c_str());
    }
    TestKey(const TestKey&) = delete;
    TestKey& operator=(const TestKey&) = delete;
    const std::string& path() const { return path_; }  // below HKEY_CURRENT_USER
    HKEY key() const { return key_; }

private:
    std::string path_;
    HKEY key_ = nullptr;
};

class TempFolder {
public:
    TempFolder() : path_(std::filesystem::temp_directory_path() / PathFromUtf8(UniqueName("orv"))) {
        std::filesystem::create_directories(path_);
    }
    ~TempFolder() {
        std::error_code ec;
        std::filesystem::remove_all(path_, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const std::filesystem::path& path() const { return path_; }
    std::string str() const { return Utf8FromPath(path_); }
    std::string operator/(const std::string& rel) const { return str() + "\\" + rel; }

private:
    std::filesystem::path path_;
};

}  // namespace orv::test
