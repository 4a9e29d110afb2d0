#include "base/win/log.h"

#include <cstdio>
#include <mutex>

#include "base/win/handles.h"
#include "base/win/utf.h"

namespace orv {

namespace {
struct LogState {
    std::mutex lock;
    UniqueFile file;
    std::wstring path, previous;
};
LogState& State() {
    static LogState s;
    return s;
}

HANDLE OpenForAppend(const std::wstring& path) {
    // Another process (the watchdog) may append to the same log, so writes are shared.
    return CreateFileW(path.c_str(), FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                       nullptr, OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
}

// Called with the lock held: the full log becomes the previous one, a new one starts.
void RollOverIfFull(LogState& s) {
    LARGE_INTEGER size{};
    if (!GetFileSizeEx(s.file.get(), &size) || static_cast<std::uint64_t>(size.QuadPart) < kLogLimitBytes) return;
    s.file.reset();
    MoveFileExW(s.path.c_str(), s.previous.c_str(), MOVEFILE_REPLACE_EXISTING);
    s.file.reset(OpenForAppend(s.path));
}
}  // namespace

bool OpenLog(const std::wstring& folder) {
    LogState& s = State();
    std::lock_guard guard(s.lock);
    std::wstring base = folder;
    if (!base.empty() && base.back() != L'\\' && base.back() != L'/') base += L'\\';
    s.path = base + kLogName;
    s.previous = base + kPreviousLogName;
    s.file.reset(OpenForAppend(s.path));
    if (s.file) RollOverIfFull(s);
    return static_cast<bool>(s.file);
}

void CloseLog() {
    LogState& s = State();
    std::lock_guard guard(s.lock);
    s.file.reset();
}

void Log(std::string_view line) {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    char stamp[64];
    const int n = std::snprintf(stamp, sizeof stamp, "%04u-%02u-%02u %02u:%02u:%02u.%03u [%lu] ", t.wYear, t.wMonth,
                                t.wDay, t.wHour, t.wMinute, t.wSecond, t.wMilliseconds, GetCurrentProcessId());
    std::string text(stamp, n > 0 ? static_cast<std::size_t>(n) : 0);
    text.append(line);
    text += "\r\n";
    LogState& s = State();
    std::lock_guard guard(s.lock);
    if (!s.file) return;
    RollOverIfFull(s);
    DWORD written = 0;
    if (s.file) WriteFile(s.file.get(), text.data(), static_cast<DWORD>(text.size()), &written, nullptr);
}

void LogError(std::string_view what, DWORD error) {
    std::string line(what);
    line += " failed: " + std::to_string(error) + " " + ErrorText(error);
    Log(line);
}

std::string ErrorText(DWORD error) {
    wchar_t* buffer = nullptr;
    const DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM |
                                       FORMAT_MESSAGE_IGNORE_INSERTS,
                                   nullptr, error, 0, reinterpret_cast<wchar_t*>(&buffer), 0, nullptr);
    std::wstring text(buffer ? buffer : L"", n);
    if (buffer) LocalFree(buffer);
    while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n' || text.back() == L' ' || text.back() == L'.'))
        text.pop_back();
    return Narrow(text);
}

}  // namespace orv
