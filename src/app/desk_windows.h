// The six desktops' window bookkeeping: which top-level windows are eligible to be hidden,
// the list of the last enumeration, and the list recorded for each desktop.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace orv {

// A window handle as the system prints and stores it: the signed 32-bit value.
using WindowId = std::int32_t;

inline constexpr int kDeskCount = 6;
inline constexpr int kSwHide = 0;
inline constexpr int kSwShowNormal = 1;
inline constexpr int kSwShowMinimized = 2;
inline constexpr int kSwShowMaximized = 3;
inline constexpr int kSwShowMinNoActive = 7;  // minimised, not activated
inline constexpr int kSwShowNa = 8;           // shown in the state it has, not activated

// Top-level window operations. The Win32 skin implements them against the real API; tests
// use fakes with ids 1, 2, 3 ...
class WindowOps {
public:
    virtual ~WindowOps() = default;
    struct TopWindow {
        WindowId id;
        int visible;          // what IsWindowVisible returns (1 when visible)
        int showCmd;          // the show command of its placement record; kSwHide when not visible
        std::string title;    // "" when not visible: not read
        std::uint32_t thread = 0, process = 0;  // read with the title (0: not read)
    };
    // Calls visit once per top-level window, in the system's order.
    virtual void EnumerateTopLevel(const std::function<void(const TopWindow&)>& visit) = 0;
    // Every top-level window, in the system's stacking order (top first), without titles.
    virtual std::vector<WindowId> StackingOrder() = 0;
    // The active window of the user (0: none). A window of this program stands for the one
    // the user had active before it.
    virtual WindowId Active() = 0;
    // Makes the window the active one, on top of its kind. Must never wait on it either.
    // 0, or a window closed meanwhile: none of the desktop's windows is to be active.
    virtual void Activate(WindowId id) = 0;
    struct Hidden {
        WindowId id;
        std::uint32_t thread = 0;  // as enumerated (0: not known)
    };
    // Hides the windows, given top of the stack first. Neither may ever wait on a window
    // whose application hangs.
    virtual void HideStack(const std::vector<Hidden>& topFirst) = 0;
    struct Shown {
        WindowId id;
        int showCmd;  // kSwShowNa, or kSwShowMinNoActive for a window to come back minimised
        std::uint32_t thread = 0;  // as enumerated when it was recorded (0: not known)
    };
    // Shows the windows, given top of the stack first, none activated: each in its command's
    // state, and stacked in that order above the other windows.
    virtual void ShowStack(const std::vector<Shown>& topFirst) = 0;
};

struct TopWindowEntry {
    std::string title;
    WindowId handle;
    int showCmd;    // read for an eligible window only (kSwHide otherwise): no other needs it
    bool eligible;
    std::uint32_t thread = 0, process = 0;
};

struct DeskWindowEntry {
    WindowId handle;
    int showCmd;
    std::string title;
    std::uint32_t thread = 0, process = 0;  // as enumerated when it was recorded
};

// The eligibility rules, first match excludes. appTitle is the bar's title.
bool IsExcludedTitle(std::string_view title, std::string_view appTitle);

class DeskWindows {
public:
    DeskWindows(WindowOps& ops, std::string appTitle);

    // Empties the top-window list and fills it with every visible titled top-level window, judged.
    void Enumerate();
    // Enumerates, then hides every eligible window and records it under desk (1..6).
    void RecordDeparture(int desk) {
        PlanDeparture(desk);
        HideDeparted(desk);
    }
    // The two halves of a departure, so the journal can be written between them: records
    // desk's eligible windows, then hides the windows recorded.
    void PlanDeparture(int desk);
    void HideDeparted(int desk);
    // Shows every window recorded for desk in its show state and its present stacking order,
    // none activated; then activates the window that was active when desk was left, when it
    // was one of them (otherwise none).
    void Replay(int desk);
    WindowId ActiveOnDeparture(int desk) const { return active_.at(static_cast<std::size_t>(desk - 1)); }

    const std::vector<TopWindowEntry>& TopWindowList() const { return top_; }
    const std::vector<DeskWindowEntry>& DeskWindowList(int desk) const;

private:
    WindowOps& ops_;
    std::string appTitle_;
    std::vector<TopWindowEntry> top_;
    std::vector<WindowId> stack_;  // every top-level window of the last enumeration, until a replay takes it
    std::array<std::vector<DeskWindowEntry>, kDeskCount> desks_;
    std::array<WindowId, kDeskCount> active_{};
};

}  // namespace orv
