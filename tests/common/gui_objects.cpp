#include "common/gui_objects.h"

#include <winternl.h>

#include <cstddef>
#include <cstdint>
#include <vector>

namespace orv::test {
namespace {

bool GuiResourcesWork(DWORD& count, HANDLE process, DWORD kind) {
    SetLastError(0);
    count = GetGuiResources(process, kind);
    return count != 0 || GetLastError() != ERROR_CALL_NOT_IMPLEMENTED;
}

// One entry of the GDI handle table (x64 layout, as Windows and Wine both keep it).
struct GdiEntry {
    std::uint64_t kernel;
    std::uint16_t ownerPid;  // Wine leaves 0
    std::uint16_t count;
    std::uint16_t upper;
    std::uint8_t type;  // 0: free
    std::uint8_t flags;
    std::uint64_t user;
};
static_assert(sizeof(GdiEntry) == 24 && offsetof(GdiEntry, type) == 14);
constexpr std::size_t kGdiPebOffset = 0xF8;  // PEB::GdiSharedHandleTable on x64
constexpr std::size_t kGdiMaxEntries = 0x10000;

int GdiTableCount(HANDLE process) {
#ifndef _WIN64
    (void)process;
    return -1;
#else
    using QueryFn = LONG(NTAPI*)(HANDLE, PROCESSINFOCLASS, void*, ULONG, ULONG*);
    auto query = reinterpret_cast<QueryFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
    PROCESS_BASIC_INFORMATION info{};
    if (!query || query(process, ProcessBasicInformation, &info, sizeof info, nullptr) != 0) return -1;
    std::uint64_t table = 0;
    if (!ReadProcessMemory(process, static_cast<const char*>(static_cast<void*>(info.PebBaseAddress)) + kGdiPebOffset,
                           &table, sizeof table, nullptr) ||
        !table)
        return -1;
    const DWORD pid = GetProcessId(process);
    // Page by page: the table may end before the largest size (the rest is not mapped).
    std::vector<GdiEntry> page(4096 / sizeof(GdiEntry) * 3);  // 12 KiB: a whole number of entries
    int used = 0;
    for (std::size_t first = 0; first < kGdiMaxEntries; first += page.size()) {
        SIZE_T got = 0;
        ReadProcessMemory(process, reinterpret_cast<const void*>(table + first * sizeof(GdiEntry)), page.data(),
                          page.size() * sizeof(GdiEntry), &got);
        const std::size_t entries = got / sizeof(GdiEntry);
        for (std::size_t i = 0; i < entries; ++i)
            if (page[i].type != 0 && (page[i].ownerPid == 0 || page[i].ownerPid == (pid & 0xFFFF))) ++used;
        if (entries < page.size()) break;
    }
    return used;
#endif
}

struct WindowTally {
    DWORD pid;
    int count = 0;
};

BOOL CALLBACK CountChild(HWND h, LPARAM lp) noexcept {
    (void)h;
    ++reinterpret_cast<WindowTally*>(lp)->count;  // descendants belong to their top-level's process
    return TRUE;
}

BOOL CALLBACK CountTop(HWND h, LPARAM lp) noexcept {
    auto* tally = reinterpret_cast<WindowTally*>(lp);
    DWORD pid = 0;
    GetWindowThreadProcessId(h, &pid);
    if (pid == tally->pid) {
        ++tally->count;
        EnumChildWindows(h, CountChild, lp);
    }
    return TRUE;
}

// Wine's user handles: index i is the handle 0x20 + 2 i, and a handle with a zero high word
// stands for whatever generation the slot holds. Slots of other processes read as absent.
constexpr std::uintptr_t kFirstUserHandle = 0x20;
constexpr std::uintptr_t kLastUserHandle = 0xFFEF;

}  // namespace

int GdiObjectCount(HANDLE process) {
    DWORD count = 0;
    if (GuiResourcesWork(count, process, GR_GDIOBJECTS)) return static_cast<int>(count);
    return GdiTableCount(process);
}

int WindowCount(DWORD pid) {
    WindowTally tally{pid};
    EnumWindows(CountTop, reinterpret_cast<LPARAM>(&tally));
    for (HWND h = FindWindowExW(HWND_MESSAGE, nullptr, nullptr, nullptr); h;
         h = FindWindowExW(HWND_MESSAGE, h, nullptr, nullptr))
        CountTop(h, reinterpret_cast<LPARAM>(&tally));
    return tally.count;
}

int UserHandleCount() {
    DWORD count = 0;
    if (GuiResourcesWork(count, GetCurrentProcess(), GR_USEROBJECTS)) return static_cast<int>(count);
    using IconSizeFn = BOOL(WINAPI*)(HICON, UINT, LONG*, LONG*);
    auto iconSize = reinterpret_cast<IconSizeFn>(
        reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"win32u.dll"), "NtUserGetIconSize")));
    int used = WindowCount(GetCurrentProcessId());
    for (std::uintptr_t h = kFirstUserHandle; h <= kLastUserHandle; h += 2) {
        LONG w = 0, hgt = 0;
        if (IsMenu(reinterpret_cast<HMENU>(h)) || (iconSize && iconSize(reinterpret_cast<HICON>(h), 0, &w, &hgt))) ++used;
    }
    return used;
}

}  // namespace orv::test
