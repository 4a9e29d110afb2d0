// The owner-drawn menus' rules without the platform: the caption cache and its keys, how a
// caption is read and measured, the bar-item range, the style values the desktop manager
// sets, and the tray menu's items with the command each one runs.
#pragma once

#include <cstdint>
#include <map>
#include <optional>
#include <span>
#include <string>
#include <string_view>

namespace orv {

struct FlavourInfo;

// ---- caption cache

// "M" + item identifier + "-" + window handle of the form, both in decimal (the handle as
// its signed 32-bit value).
std::string MenuCaptionKey(std::uint32_t itemId, std::int32_t window);

// Caption of every converted item, by MenuCaptionKey. A later entry under the same key
// replaces the earlier one.
class MenuCaptions {
public:
    void Store(std::uint32_t itemId, std::int32_t window, std::string caption);
    // Empty when the item has no cached caption.
    std::string Find(std::uint32_t itemId, std::int32_t window) const;
    bool Empty() const { return captions_.empty(); }

private:
    std::map<std::string, std::string, std::less<>> captions_;
};

// ---- caption rules

// A popup item's caption as it is cached: the text before the first NUL; a leading "|"
// is removed and makes the item start a new column.
struct PopupCaption {
    std::string text;
    bool columnBreak = false;
};
PopupCaption ReadPopupCaption(std::string_view raw);

// The text that is measured for a caption: each tab (before a shortcut text) is one blank.
std::string MeasuredText(std::string_view caption);

// Item data that marks an item of the menu bar (popup items carry anything else).
inline constexpr std::uintptr_t kBarItemData = 2;
// Bar items are renumbered from here up, in their order on the bar.
inline constexpr std::uint32_t kFirstBarId = 666;
inline constexpr std::uint32_t BarItemId(int position) { return kFirstBarId + static_cast<std::uint32_t>(position); }
// The last bar identifier of a form whose menu bar holds count items.
inline constexpr std::uint32_t LastBarId(int count) { return static_cast<std::uint32_t>(count) + kFirstBarId - 1; }
inline constexpr bool IsBarItemId(std::uint32_t id, std::uint32_t lastBarId) {
    return id >= kFirstBarId && id <= lastBarId;
}

struct ItemSize {
    int width = 0;
    int height = 0;
    bool operator==(const ItemSize&) const = default;
};
// Text extent + 6 each way, and 50 more across for popup items; the extra room grows with
// the DPI (the values stand at 96).
ItemSize MeasureItem(int textWidth, int textHeight, bool barItem, unsigned dpi);

// The erase rule for tool bars drawn on the menu's form: "toolbar" (any case) in the class
// name after its first character.
bool IsToolbarClass(std::string_view className);

// ---- style

// Colours in the platform's 0x00BBGGRR form.
constexpr std::uint32_t Rgb(unsigned r, unsigned g, unsigned b) { return r | (g << 8) | (b << 16); }

struct MenuStyle {
    int fontSource = 0;  // 0: the system's menu font
    int spacing = 2;     // added to item rectangles and text positions
    std::uint32_t selectedBack = Rgb(92, 168, 220);
    std::uint32_t normalText = Rgb(0, 24, 24);
    std::uint32_t textBack = Rgb(88, 150, 233);  // behind text that is not selected
    std::uint32_t selectedText = Rgb(255, 255, 255);
    std::uint32_t barTextWhenBlack = Rgb(0, 0, 0);
    std::uint32_t popupTextWhenBlack = Rgb(255, 0, 0);
    std::uint32_t selectedFrame = Rgb(46, 36, 133);
    int selectionStyle = 1;  // 1: filled with the frame colour, then the background inside
};
// The values SetupTrayMenu gives the tray menu.
inline constexpr MenuStyle kTrayMenuStyle{};

// The colour of an item's text that is not selected: a normal text colour of 0 stands for
// black on the bar and red in popups.
std::uint32_t UnselectedTextColour(const MenuStyle& s, bool barItem);

// ---- the tray menu (frmMenu)

enum class PopAction { None, Show, ToggleTopmost, Settings, VideoSettings, About, Exit };

struct TrayMenuItem {
    int index;            // in the mnuPop control array
    const char* caption;  // "-" is a separator
    PopAction action;
    bool submenu;         // "Switch": the desktops
};
// mnuPop, in menu order.
std::span<const TrayMenuItem> TrayMenuItems();
inline constexpr int kSwitchItemCount = 6;  // mnuS 1..6
std::string SwitchCaption(int index);       // "Desktop 1" ...

inline constexpr bool IsSeparatorCaption(std::string_view caption) { return caption == "-"; }
// What mnuPop_Click runs for an index; None for separators and unknown indexes.
PopAction PopActionFor(int index);
// The desktop mnuS_Click switches to (DoAction with it), none when the index names none.
std::optional<int> SwitchDeskFor(int index);

// Visibility by flavour: the video item shows where there is video, desktops 5 and 6 only
// where the flavour has them.
bool PopItemVisible(int index, const FlavourInfo& f);
bool SwitchItemVisible(int index, const FlavourInfo& f);

// Menu command identifiers of the tray menu's items.
inline constexpr int kPopCommandBase = 100;
inline constexpr int kSwitchCommandBase = 200;
struct TrayCommand {
    bool isSwitch = false;
    int index = 0;
};
std::optional<TrayCommand> DecodeTrayCommand(int commandId);

}  // namespace orv
