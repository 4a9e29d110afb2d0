#include "base/win/replace_file.h"

#include <string>

#include "base/win/handles.h"

namespace orv {
namespace {
constexpr int kRenameTries = 10;
constexpr DWORD kRenamePauseMs = 10;
}  // namespace

ReplaceFileResult ReplaceWholeFile(const std::wstring& path, const void* data, std::size_t size) {
    const std::wstring temp = path + L".tmp";
    {
        UniqueFile f(CreateFileW(temp.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f) return {GetLastError(), "CreateFile"};
        DWORD written = 0;
        if (!WriteFile(f.get(), data, static_cast<DWORD>(size), &written, nullptr) || written != size) {
            const DWORD e = GetLastError();
            f.reset();
            DeleteFileW(temp.c_str());
            return {e ? e : ERROR_WRITE_FAULT, "WriteFile"};
        }
    }
    DWORD e = 0;
    for (int i = 0; i < kRenameTries; ++i, Sleep(kRenamePauseMs)) {
        if (MoveFileExW(temp.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) return {};
        e = GetLastError();
        if (e != ERROR_ACCESS_DENIED && e != ERROR_SHARING_VIOLATION) break;
    }
    DeleteFileW(temp.c_str());
    return {e, "MoveFileEx"};
}

}  // namespace orv
