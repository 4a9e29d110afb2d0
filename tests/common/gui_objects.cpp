#include "common/gui_objects.h"

#include <winternl.h>

#include <cstdint>
#include <utility>
#include <vector>

namespace orv::test {
namespace {

// The used entries of the process's GDI handle table, found through its PEB. x64 layout, as
// Windows and Wine both keep it: 24-byte entries with the owner's process id in the 16 bits at
// 8 (Wine leaves 0) and the type at 14 (0: free), at most 0x10000 of them.
int GdiTableCount(HANDLE process) {
    using QueryFn = LONG(NTAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    std::uint64_t table = 0;  // PEB::GdiSharedHandleTable
    if (!query || query(process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0 ||
        !ReadProcessMemory(process, reinterpret_cast<const char*>(info.PebBaseAddress) + 0xF8, &table, sizeof table, nullptr))
        return -1;
    constexpr std::size_t kEntry = 24, kPage = 3 * 4096;  // a whole number of entries
    const unsigned pid = GetProcessId(process) & 0xFFFF;
    std::vector<std::uint8_t> page(kPage);
    int used = 0;
    // Page by page: the table may end before its largest size (the rest is not mapped).
    for (std::uint64_t at = table; table && at < table + 0x10000 * kEntry; at += kPage) {
        SIZE_T got = 0;
        ReadProcessMemory(process, reinterpret_cast<const void*>(at), page.data(), kPage, &got);
        for (std::size_t e = 0; e + kEntry <= got; e += kEntry) {
            const unsigned owner = page[e + 8] | page[e + 9] << 8;
            used += page[e + 14] != 0 && (owner == 0 || owner == pid);
        }
        if (got < kPage) break;
    }
    return table ? used : -1;
}

using WindowTally = std::pair<DWORD, int>;  // the process, its windows

BOOL CALLBACK CountTop(HWND h, LPARAM lp) noexcept {
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == reinterpret_cast<WindowTally*>(lp)->first) {  // it, and its descendants, which belong to its process
        ++reinterpret_cast<WindowTally*>(lp)->second;
        EnumChildWindows(h, [](HWND, LPARAM t) noexcept -> BOOL { return ++reinterpret_cast<WindowTally*>(t)->second, TRUE; }, lp);
    }
    return TRUE;
}

}  // namespace

int GdiObjectCount(HANDLE process) {
    SetLastError(0);
    const DWORD count = GetGuiResources(process, GR_GDIOBJECTS);
    return count || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED ? static_cast<int>(count) : GdiTableCount(process);
}

int WindowCount(DWORD pid) {
    WindowTally tally{pid, 0};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&tally));
    for (HWND h = nullptr; (h = FindWindowExW(HWND_MESSAGE, h, nullptr, nullptr));) CountTop(h, reinterpret_cast<LPARAM>(&tally));
    return tally.second;
}

int UserHandleCount() {
    SetLastError(0);  // Wine 8 stubs GetGuiResources (0, error 120)
    if (const DWORD n = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS); n || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED) return int(n);
    // Wine's user handles: index i is the handle 0x20 + 2 i, and a handle with a zero high word
    // stands for whatever generation the slot holds. Slots of other processes read as absent.
    using IconSizeFn = BOOL(WINAPI*)(HICON, UINT, LONG*, LONG*);
    auto iconSize = reinterpret_cast<IconSizeFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"win32u.dll"), "NtUserGetIconSize")));
    int used = WindowCount(GetCurrentProcessId());
    for (std::uintptr_t h = 0x20; h <= 0xFFEF; h += 2) {
        LONG w = 0, hgt = 0;
        used += IsMenu(reinterpret_cast<HMENU>(h)) || (iconSize && iconSize(reinterpret_cast<HICON>(h), 0, &w, &hgt));
    }
    return used;
}

}  // namespace orv::test
