#include "tray/od_menu_model.h"

#include <algorithm>
#include <array>
#include <cctype>

#include "app/flavour.h"

namespace orv {

std::string MenuCaptionKey(std::uint32_t itemId, std::int32_t window) {
    return "M" + std::to_string(itemId) + "-" + std::to_string(window);
}

void MenuCaptions::Store(std::uint32_t itemId, std::int32_t window, std::string caption) {
    captions_.insert_or_assign(MenuCaptionKey(itemId, window), std::move(caption));
}

std::string MenuCaptions::Find(std::uint32_t itemId, std::int32_t window) const {
    const auto it = captions_.find(MenuCaptionKey(itemId, window));
    return it == captions_.end() ? std::string() : it->second;
}

PopupCaption ReadPopupCaption(std::string_view raw) {
    PopupCaption c;
    raw = raw.substr(0, raw.find('\0'));
    if (!raw.empty() && raw.front() == '|') {
        c.columnBreak = true;
        raw.remove_prefix(1);
    }
    c.text = std::string(raw);
    return c;
}

std::string MeasuredText(std::string_view caption) {
    std::string text(caption);
    std::replace(text.begin(), text.end(), '\t', ' ');
    return text;
}

ItemSize MeasureItem(int textWidth, int textHeight, bool barItem, unsigned dpi) {
    const auto scaled = [dpi](int v) { return static_cast<int>((static_cast<long long>(v) * dpi + 48) / 96); };
    ItemSize s{textWidth + scaled(6), textHeight + scaled(6)};
    if (!barItem) s.width += scaled(50);
    return s;
}

bool IsToolbarClass(std::string_view className) {
    std::string lower(className);
    for (char& ch : lower) ch = static_cast<char>(std::tolower(static_cast<unsigned char>(ch)));
    const auto at = lower.find("toolbar");
    return at != std::string::npos && at > 0;
}

std::uint32_t UnselectedTextColour(const MenuStyle& s, bool barItem) {
    if (s.normalText != 0) return s.normalText;
    return barItem ? s.barTextWhenBlack : s.popupTextWhenBlack;
}

namespace {
constexpr std::array kTrayItems{
    TrayMenuItem{0, "Show", PopAction::Show, false},
    TrayMenuItem{1, "Show on top", PopAction::ToggleTopmost, false},
    TrayMenuItem{2, "-", PopAction::None, false},
    TrayMenuItem{3, "Settings", PopAction::Settings, false},
    TrayMenuItem{4, "Video Settings", PopAction::VideoSettings, false},
    TrayMenuItem{7, "About", PopAction::About, false},
    TrayMenuItem{8, "Exit", PopAction::Exit, false},
    TrayMenuItem{9, "-", PopAction::None, false},
    TrayMenuItem{10, "Switch", PopAction::None, true},
    TrayMenuItem{20, "-", PopAction::None, false},
};
constexpr int kVideoSettingsIndex = 4;
}  // namespace

std::span<const TrayMenuItem> TrayMenuItems() { return kTrayItems; }

std::string SwitchCaption(int index) { return "Desktop " + std::to_string(index); }

PopAction PopActionFor(int index) {
    for (const auto& item : kTrayItems)
        if (item.index == index) return item.action;
    return PopAction::None;
}

std::optional<int> SwitchDeskFor(int index) {
    if (index < 1 || index > kSwitchItemCount) return std::nullopt;
    return index;
}

bool PopItemVisible(int index, const FlavourInfo& f) { return index != kVideoSettingsIndex || f.hasVideo; }

bool SwitchItemVisible(int index, const FlavourInfo& f) { return index <= 4 || f.trayShowsDesks5And6; }

std::optional<TrayCommand> DecodeTrayCommand(int commandId) {
    const int pop = commandId - kPopCommandBase;
    for (const auto& item : kTrayItems)
        if (item.index == pop && !item.submenu && !IsSeparatorCaption(item.caption)) return TrayCommand{false, pop};
    if (SwitchDeskFor(commandId - kSwitchCommandBase)) return TrayCommand{true, commandId - kSwitchCommandBase};
    return std::nullopt;
}

}  // namespace orv
