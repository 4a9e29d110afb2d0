// The journal's file and the windows' owners against the real API.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <unordered_map>

#include "app/journal.h"
#include "base/win/handles.h"

namespace orv {

inline constexpr const char* kJournalName = "Orvanta.journal";

// The process's creation time (FILETIME as a number); 0 when it cannot be read.
std::uint64_t ProcessStartTime(HANDLE process);

class Win32JournalOps final : public JournalOps {
public:
    explicit Win32JournalOps(std::wstring path) : path_(std::move(path)) {}
    // Called before every write: a journal is written only before windows are hidden, and
    // what must exist by then (the watchdog) waits there.
    void SetWriteGate(std::function<void()> gate) { gate_ = std::move(gate); }

    std::optional<WindowOwner> Owner(WindowId id) override;
    bool IsVisible(WindowId id) override;
    void ShowAsync(WindowId id, int showCmd) override;
    // A temporary file beside the journal, flushed when durable, then renamed over it: a
    // crash at any instant leaves the old journal or the new one, never a torn one.
    bool Write(const std::string& text, bool durable) override;
    std::optional<std::string> Read() override;
    void Remove() override;

private:
    std::uint64_t StartTime(DWORD pid);

    std::wstring path_;
    std::function<void()> gate_;
    // Start times of the processes seen, each held open: while its handle is open a process
    // id cannot be given to another process, so the time stays right without asking again.
    struct OpenProcessTime {
        UniqueHandle process;
        std::uint64_t start;
    };
    std::unordered_map<DWORD, OpenProcessTime> starts_;
};

}  // namespace orv
