#include "app/desk_windows.h"

#include <algorithm>
#include <unordered_map>
#include <utility>
#include <stdexcept>

namespace orv {

namespace {
// System and shell windows that must stay on every desktop, matched as whole titles.
constexpr std::string_view kExcludedTitles[] = {
    "DDE Server Window", "Start Menu",      "Windows Task Manager",  "OLEChannelWnd",
    "Spooler process",   "Power Meter",     "Connections Tray",      "SENS",
    "WIN95 RPC Wmsg Window", "Program Manager", "Registry Editor",
};
// The development environment's main window while it holds the project.
constexpr std::string_view kDevEnvironmentTitle = "Tessara - Microsoft Visual Basic";
}  // namespace

bool IsExcludedTitle(std::string_view title, std::string_view appTitle) {
    for (std::string_view t : kExcludedTitles)
        if (title == t) return true;
    if (title.find(kDevEnvironmentTitle) != std::string_view::npos) return true;
    return title == appTitle;
}

DeskWindows::DeskWindows(WindowOps& ops, std::string appTitle) : ops_(ops), appTitle_(std::move(appTitle)) {}

void DeskWindows::Enumerate() {
    top_.clear();
    stack_.clear();
    ops_.EnumerateTopLevel([this](const WindowOps::TopWindow& w) {
        stack_.push_back(w.id);
        if (w.title.empty()) return;
        const bool eligible = !IsExcludedTitle(w.title, appTitle_) && w.visible == 1;
        top_.push_back({w.title, w.id, eligible ? w.showCmd : kSwHide, eligible, w.thread, w.process});
    });
}

void DeskWindows::PlanDeparture(int desk) {
    Enumerate();
    auto& list = desks_.at(static_cast<std::size_t>(desk - 1));
    list.clear();
    for (const auto& e : top_)
        if (e.eligible) list.push_back({e.handle, e.showCmd, e.title, e.thread, e.process});
    const WindowId active = ops_.Active();
    const bool onDesk = std::any_of(list.begin(), list.end(), [&](const DeskWindowEntry& e) { return e.handle == active; });
    active_.at(static_cast<std::size_t>(desk - 1)) = onDesk ? active : 0;
}

void DeskWindows::HideDeparted(int desk) {
    // In the order enumerated, top first; the skin decides how (and keeps the activation from
    // moving once per window).
    std::vector<WindowOps::Hidden> hidden;
    for (const auto& e : desks_.at(static_cast<std::size_t>(desk - 1))) hidden.push_back({e.handle, e.thread});
    ops_.HideStack(hidden);
}

void DeskWindows::Replay(int desk) {
    // The windows in their stacking order as it is now (hidden windows keep theirs; another
    // program may have raised one meanwhile), shown in that order without activation, each
    // in the state it kept: the desktop comes back as it was left. A window closed while
    // hidden fails to show; the next one is shown all the same. The stack is the one the
    // switch's departure read moments ago (the windows it hid kept their places), if any.
    std::vector<WindowId> stack = std::exchange(stack_, {});
    std::vector<DeskWindowEntry> list = desks_.at(static_cast<std::size_t>(desk - 1));
    if (list.empty()) return ops_.Activate(0);  // nothing to show, nor to read the stack for
    if (stack.empty()) stack = ops_.StackingOrder();
    std::unordered_map<WindowId, std::size_t> place;
    for (WindowId id : stack) place.emplace(id, place.size());
    auto at = [&](const DeskWindowEntry& e) { auto it = place.find(e.handle); return it == place.end() ? place.size() : it->second; };
    std::stable_sort(list.begin(), list.end(), [&](const DeskWindowEntry& a, const DeskWindowEntry& b) { return at(a) < at(b); });
    std::vector<WindowOps::Shown> shown;
    for (const auto& e : list)
        shown.push_back({e.handle, e.showCmd == kSwShowMinimized ? kSwShowMinNoActive : kSwShowNa, e.thread});
    ops_.ShowStack(shown);
    ops_.Activate(ActiveOnDeparture(desk));
}

const std::vector<DeskWindowEntry>& DeskWindows::DeskWindowList(int desk) const {
    return desks_.at(static_cast<std::size_t>(desk - 1));
}

}  // namespace orv
