// The program's helper processes: the same exe started again with a switch and an inherited
// handle to this process ("<exe>" /switch <handle>), which the helper waits on or watches.
// A handle, unlike a process id, cannot come to name another process.
#pragma once

#include <windows.h>

#include <optional>
#include <string>

#include "base/win/handles.h"

namespace orv {

struct HelperProcess {
    UniqueHandle process;  // null: not started (logged)
    DWORD pid = 0;
};

// Starts exe with `switchText` (ending in a blank) and an inheritable handle to this process
// that has `access`. what names the helper in the log.
HelperProcess StartHelperProcess(const std::wstring& exe, const wchar_t* switchText, DWORD access, const char* what);

// The handle the command line carries after switchText, when it asks for that helper.
std::optional<HANDLE> HelperHandle(const wchar_t* commandLine, const wchar_t* switchText);

}  // namespace orv
