#include "app/desk_windows.h"

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
    ops_.EnumerateTopLevel([this](WindowId id, const std::string& title) {
        if (!title.empty()) top_.push_back({title, id, ops_.ShowCommand(id)});
    });
}

bool DeskWindows::IsEligible(const TopWindowEntry& e) {
    if (IsExcludedTitle(e.title, appTitle_)) return false;
    return ops_.IsVisible(e.handle) == 1;
}

void DeskWindows::PlanDeparture(int desk) {
    Enumerate();
    auto& list = desks_.at(static_cast<std::size_t>(desk - 1));
    list.clear();
    for (const auto& e : top_)
        if (IsEligible(e)) list.push_back({e.handle, e.showCmd, e.title});
}

void DeskWindows::HideDeparted(int desk) {
    const auto& list = desks_.at(static_cast<std::size_t>(desk - 1));
    // Hidden from the bottom of the z-order up: the active window goes last, so the system
    // moves the activation once instead of once per window. The list keeps its order.
    for (auto it = list.rbegin(); it != list.rend(); ++it) ops_.Show(it->handle, kSwHide);
}

void DeskWindows::Replay(int desk) {
    // A window closed while hidden fails to show; the next one is shown all the same.
    for (const auto& e : desks_.at(static_cast<std::size_t>(desk - 1))) ops_.Show(e.handle, e.showCmd);
}

const std::vector<DeskWindowEntry>& DeskWindows::DeskWindowList(int desk) const {
    return desks_.at(static_cast<std::size_t>(desk - 1));
}

}  // namespace orv
