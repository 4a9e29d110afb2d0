#include "app/win/app_paths.h"

#include <windows.h>
#include <shlobj.h>

#include "base/win/utf.h"

namespace orv {

std::string GetSpecialFolder(int csidl) {
    LPITEMIDLIST pidl = nullptr;
    // The owner window is reserved and ignored.
    if (FAILED(SHGetSpecialFolderLocation(reinterpret_cast<HWND>(static_cast<INT_PTR>(100)), csidl, &pidl)) || !pidl)
        return {};
    wchar_t buf[512] = {};
    BOOL ok = SHGetPathFromIDListW(pidl, buf);
    CoTaskMemFree(pidl);
    return ok ? Narrow(buf) : std::string();
}

std::string ExePath() {
    std::wstring buf(MAX_PATH, L'\0');
    for (;;) {
        DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
        if (n == 0) return {};
        if (n < buf.size()) return Narrow(std::wstring_view(buf.data(), n));
        buf.resize(buf.size() * 2);
    }
}

std::string ProgramFolder() {
    std::string exe = ExePath();
    std::size_t slash = exe.find_last_of("\\/");
    return slash == std::string::npos ? std::string() : exe.substr(0, slash);
}

std::string GetTempFolder() {
    wchar_t buf[MAX_PATH + 1] = {};
    DWORD n = GetTempPathW(MAX_PATH + 1, buf);
    if (n == 0 || n > MAX_PATH) return {};
    return Narrow(buf);
}

void CreateDataFolders(const std::string& base, const AppFolders& folders, const FlavourInfo& f) {
    CreateDirectoryW(Widen(base + "\\Quillon").c_str(), nullptr);
    CreateDirectoryW(Widen(folders.dataFolder).c_str(), nullptr);
    for (int n = 1; n <= 6; ++n) CreateDirectoryW(Widen(folders.IconFolder(f, n)).c_str(), nullptr);
}

}  // namespace orv
