// Each Win32 test gets its own registry key and folders, removed afterwards.
#pragma once

#include <windows.h>

#include <string>

#include "base/win/utf.h"
#include "common/test_files.h"

namespace orv::test {

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

}  // namespace orv::test
