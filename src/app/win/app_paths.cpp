#include "app/win/app_paths.h"

#include <windows.h>
#include <shlobj.h>

#include "app/desk_windows.h"
#include "base/win/handles.h"
#include "base/win/utf.h"

namespace orv {

std::string GetSpecialFolder(int csidl) {
    UniqueTaskMem<ITEMIDLIST> pidl;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, csidl, pidl.put())) || !pidl) return {};
    wchar_t buf[MAX_PATH] = {};  // the size SHGetPathFromIDListW writes into
    return SHGetPathFromIDListW(pidl.get(), buf) ? Narrow(buf) : std::string();
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

void CreateDataFolders(const AppFolders& folders, const FlavourInfo& f) {
    CreateDirectoryW(Widen(folders.dataBase + "\\Quillon").c_str(), nullptr);
    CreateDirectoryW(Widen(folders.dataFolder).c_str(), nullptr);
    for (int n = 1; n <= kDeskCount; ++n) CreateDirectoryW(Widen(folders.IconFolder(f, n)).c_str(), nullptr);
}

}  // namespace orv
