#include "app/win/app_paths.h"

#include <windows.h>
#include <shlobj.h>

#include "app/desk_windows.h"
#include "base/win/handles.h"
#include "base/win/log.h"
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

unsigned long CreateDataFolder(const AppFolders& folders) {
    CreateDirectoryW(Widen(folders.dataBase + "\\Quillon").c_str(), nullptr);
    const std::wstring data = Widen(folders.dataFolder);
    if (CreateDirectoryW(data.c_str(), nullptr)) return 0;
    const DWORD error = GetLastError();
    const DWORD attributes = GetFileAttributesW(data.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) ? 0 : error;
}

void CreateIconFolders(const AppFolders& folders, const FlavourInfo& f) {
    for (int n = 1; n <= kDeskCount; ++n) {
        const std::string path = folders.IconFolder(f, n);
        if (CreateDirectoryW(Widen(path).c_str(), nullptr)) continue;
        const DWORD error = GetLastError();
        if (error != ERROR_ALREADY_EXISTS) LogError("CreateDirectoryW " + path, error);
    }
}

}  // namespace orv
