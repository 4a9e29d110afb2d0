// A whole file written beside its place and then moved over it: a failure or a crash at any
// instant leaves the old file or the new one, never a torn one, and no temporary behind.
#pragma once

#include <windows.h>

#include <cstddef>
#include <string>

namespace orv {

struct ReplaceFileResult {
    DWORD error = 0;             // 0: done
    const char* step = nullptr;  // the call that failed: "CreateFile", "WriteFile", "MoveFileEx"
    explicit operator bool() const { return error == 0; }
};

// A reader without delete sharing (a backup or virus scanner) blocking the rename is waited
// out briefly.
ReplaceFileResult ReplaceWholeFile(const std::wstring& path, const void* data, std::size_t size);

}  // namespace orv
