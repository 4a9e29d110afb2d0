#include "app/win/journal_file.h"

#include <algorithm>
#include <string_view>

#include "app/win/window_ops.h"
#include "base/win/handles.h"
#include "base/win/log.h"
#include "base/win/utf.h"

namespace orv {

namespace {
constexpr DWORD kMaxJournalBytes = 4 * 1024 * 1024;  // far beyond any real journal
constexpr std::size_t kMaxOpenProcesses = 256;
}

std::uint64_t ProcessStartTime(HANDLE process) {
    FILETIME created{}, exited{}, kernel{}, user{};
    if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
    return (static_cast<std::uint64_t>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

std::uint64_t Win32JournalOps::StartTime(DWORD pid) {
    if (auto it = starts_.find(pid); it != starts_.end()) return it->second.start;
    if (starts_.size() >= kMaxOpenProcesses) starts_.clear();  // the ended ones go too
    UniqueHandle p(OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | SYNCHRONIZE, FALSE, pid));
    const std::uint64_t start = p ? ProcessStartTime(p.get()) : 0;
    if (start == 0) return 0;
    starts_.emplace(pid, OpenProcessTime{std::move(p), start});
    return start;
}

std::optional<WindowOwner> Win32JournalOps::Owner(WindowId id) {
    const HWND h = ToHwnd(id);
    DWORD pid = 0;
    if (!GetWindowThreadProcessId(h, &pid)) return std::nullopt;  // no such window
    wchar_t cls[256];
    const int n = GetClassNameW(h, cls, static_cast<int>(std::size(cls)));
    return WindowOwner{pid, StartTime(pid), Narrow(std::wstring_view(cls, n > 0 ? static_cast<std::size_t>(n) : 0))};
}

bool Win32JournalOps::IsVisible(WindowId id) { return IsWindowVisible(ToHwnd(id)) != FALSE; }

void Win32JournalOps::ShowAsync(WindowId id, int showCmd) { ShowWindowAsync(ToHwnd(id), showCmd); }

bool Win32JournalOps::Write(const std::string& text, bool durable) {
    if (gate_) gate_();
    if (written_ == 0) {  // numbered after whatever an earlier run left
        for (int slot : {0, 1})
            if (auto s = ReadSlot(slot)) written_ = std::max(written_, s->number);
    }
    const std::uint64_t number = ++written_;
    UniqueFile& f = slots_[number % 2];
    if (!f) {
        f.reset(CreateFileW(SlotPath(number % 2).c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                            OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
        if (!f) return LogError("Journal: open"), false;
    }
    const std::string data = FormatSlot(number, text);
    OVERLAPPED start{};  // offset 0: the slot's old text beyond the new length is ignored
    DWORD done = 0;
    if (!WriteFile(f.get(), data.data(), static_cast<DWORD>(data.size()), &done, &start) || done != data.size())
        return LogError("Journal: WriteFile"), false;
    if (durable && !FlushFileBuffers(f.get())) return LogError("Journal: FlushFileBuffers"), false;
    return true;
}

std::optional<JournalSlot> Win32JournalOps::ReadSlot(int slot) const {
    UniqueFile f(CreateFileW(SlotPath(slot).c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                             nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!f) {
        const DWORD e = GetLastError();
        if (e != ERROR_FILE_NOT_FOUND && e != ERROR_PATH_NOT_FOUND) LogError("Journal: open", e);
        return std::nullopt;
    }
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(f.get(), &size)) return LogError("Journal: size"), JournalSlot{};
    if (size.QuadPart > kMaxJournalBytes) return JournalSlot{0, "too large"};  // refused by the parser
    std::string text(static_cast<std::size_t>(size.QuadPart), '\0');
    DWORD got = 0;
    if (!text.empty() && (!ReadFile(f.get(), text.data(), static_cast<DWORD>(text.size()), &got, nullptr)))
        return LogError("Journal: ReadFile"), JournalSlot{};
    text.resize(got);
    return ParseSlot(text);
}

std::optional<std::string> Win32JournalOps::Read() {
    std::vector<JournalSlot> slots;
    for (int slot : {0, 1})
        if (std::optional<JournalSlot> s = ReadSlot(slot)) slots.push_back(std::move(*s));
    return NewestJournal(std::move(slots));
}

bool Win32JournalOps::Exists() const {
    for (int slot : {0, 1})
        if (GetFileAttributesW(SlotPath(slot).c_str()) != INVALID_FILE_ATTRIBUTES) return true;
    return false;
}

void Win32JournalOps::Remove() {
    written_ = 0;
    for (UniqueFile& f : slots_) f.reset();
    // The temporary of the replacing writes of earlier versions goes too.
    for (const std::wstring& p : {SlotPath(0), SlotPath(1), path_ + L".tmp"}) {
        if (!DeleteFileW(p.c_str())) {
            const DWORD e = GetLastError();
            if (e != ERROR_FILE_NOT_FOUND && e != ERROR_PATH_NOT_FOUND) LogError("Journal: DeleteFile", e);
        }
    }
}

}  // namespace orv
