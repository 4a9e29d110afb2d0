// The journal: what a crash must be able to undo. Before any window is hidden it records the
// current desktop, which desktop's files the Desktop folder holds, and every window that is
// hidden or about to be hidden, with enough of its owner's identity to recognise it again.
// After a kill (at the next start, or in the watchdog) the journal is replayed: a window that
// still exists, is invisible and still belongs to the same process with the same class is
// shown again; anything else is left alone.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "app/desk_windows.h"

namespace orv {

inline constexpr int kIconsShared = 0;  // JournalState::iconsDesk when icons are shared

// Who owns a window: the process (its id and start time, so a reused id does not match)
// and the window's class.
struct WindowOwner {
    std::uint32_t pid = 0;
    std::uint64_t processStart = 0;  // the system's process creation time
    std::string className;
    bool operator==(const WindowOwner&) const = default;
};

struct JournalWindow {
    int desk = 1;
    WindowId handle = 0;
    int showCmd = kSwShowNormal;
    WindowOwner owner;
    std::string title;
    bool operator==(const JournalWindow&) const = default;
};

struct JournalState {
    int currentDesk = 1;
    int iconsDesk = kIconsShared;  // the desktop whose files the Desktop folder holds
    std::vector<JournalWindow> windows;
    bool operator==(const JournalState&) const = default;
};

// UTF-8 lines: a version header, one line per window, and an end line with the count and a
// checksum of everything before it.
std::string FormatJournal(const JournalState& s);
// The journal, or nothing with the reason in why when the text is torn, garbage or of
// another version. Never throws on bad input.
std::optional<JournalState> ParseJournal(std::string_view text, std::string* why = nullptr);

// The journal's file is written over in place, in two slots in turn, each write numbered:
// a write torn by a kill leaves the one before in force. A slot holds its slot line,
// "OrvantaSlot", the number and the journal's length, tab-separated, then a line feed and
// the journal; the length bounds it, since the older text of the slot may follow.
struct JournalSlot {
    std::uint64_t number = 0;  // 0: a journal without a slot line, as earlier versions wrote it
    std::string text;          // empty when the slot line is torn
};
std::string FormatSlot(std::uint64_t number, std::string_view journal);
JournalSlot ParseSlot(std::string_view file);
// The newest slot whose journal is whole; when none is, the newest text, for the reader to
// report. Nothing when there is no slot.
std::optional<std::string> NewestJournal(std::vector<JournalSlot> slots);

// What writing and replaying the journal needs from the system.
class JournalOps {
public:
    virtual ~JournalOps() = default;
    // The window's owner; nothing when the window no longer exists.
    virtual std::optional<WindowOwner> Owner(WindowId id) = 0;
    virtual bool IsVisible(WindowId id) = 0;
    // Shows a window without waiting for its application.
    virtual void ShowAsync(WindowId id, int showCmd) = 0;
    // The journal file: replaced as a whole (a torn write leaves the one before in force),
    // read whole, removed. A durable write reaches the disk before it counts, so it also
    // survives the system going down.
    virtual bool Write(const std::string& text, bool durable) = 0;
    virtual std::optional<std::string> Read() = 0;
    virtual void Remove() = 0;
};

// Shows again every journalled window that passes the test above. Returns how many were
// shown; skipped counts the ones left alone.
int RecoverWindows(const JournalState& s, JournalOps& ops, int* skipped = nullptr);

// The switch's side: keeps the owners of the windows it recorded and writes the journal.
class DeskJournal {
public:
    explicit DeskJournal(JournalOps& ops) : ops_(ops) {}

    // Writes every desktop's recorded windows but shownDesk's (0: all). departingDesk's list
    // was just recorded and is about to be hidden: an owner is looked up again unless the
    // window's thread and process are the ones seen before.
    // With per-desktop icons every write is durable: where the Desktop folder's files
    // belong must survive a power loss. With shared icons the journal names windows only,
    // which a power loss ends anyway, and a write torn by a kill leaves the journal before
    // it in force: the disk flush is then left out.
    bool Write(const DeskWindows& windows, int currentDesk, int iconsDesk, int departingDesk, int shownDesk);
    void Remove() { ops_.Remove(); }
    int Writes() const { return writes_; }

private:
    JournalOps& ops_;
    struct KnownOwner {
        WindowOwner owner;
        std::uint32_t thread;  // of the window's entry when it was looked up
    };
    std::map<WindowId, KnownOwner> owners_;  // of the windows recorded at the last write
    int writes_ = 0;
};

}  // namespace orv
