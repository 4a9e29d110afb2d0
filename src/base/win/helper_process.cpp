#include "base/win/helper_process.h"

#include <cwchar>

#include "base/win/log.h"

namespace orv {

HelperProcess StartHelperProcess(const std::wstring& exe, const wchar_t* switchText, DWORD access, const char* what) {
    HANDLE self = nullptr;
    if (!DuplicateHandle(GetCurrentProcess(), GetCurrentProcess(), GetCurrentProcess(), &self, access, TRUE, 0))
        return LogError(std::string(what) + ": DuplicateHandle"), HelperProcess{};
    UniqueHandle owned(self);
    std::wstring cmd = L"\"" + exe + L"\" " + switchText +
                       std::to_wstring(static_cast<unsigned long long>(reinterpret_cast<UINT_PTR>(self)));
    STARTUPINFOW si{};
    si.cb = sizeof si;
    PROCESS_INFORMATION pi{};
    if (!CreateProcessW(exe.c_str(), cmd.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW, nullptr, nullptr, &si, &pi))
        return LogError(std::string(what) + ": CreateProcess"), HelperProcess{};
    CloseHandle(pi.hThread);
    return {UniqueHandle(pi.hProcess), pi.dwProcessId};
}

std::optional<HANDLE> HelperHandle(const wchar_t* commandLine, const wchar_t* switchText) {
    const wchar_t* at = commandLine ? std::wcsstr(commandLine, switchText) : nullptr;
    if (!at) return std::nullopt;
    const wchar_t* digits = at + std::wcslen(switchText);
    wchar_t* end = nullptr;
    const unsigned long long v = std::wcstoull(digits, &end, 10);
    if (end == digits || v == 0) return std::nullopt;
    return reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(v));
}

}  // namespace orv
