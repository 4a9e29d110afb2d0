// The texts that name a desktop in the tray, and a hotkey as a user reads it in the log.
// Portable: no platform headers.
#pragma once

#include <string>
#include <string_view>

namespace orv {

// "Desktop " and the number.
std::string DeskName(int desk);
// The tray icon's tip: the caption alone, or with "Tray Tips" on the caption, " - " and the
// current desktop's name.
std::string TrayTipText(std::string_view caption, bool trayTipsOn, int desk);
// A combination as people write it: the held modifiers in the order Control, Shift, Alt,
// Win, then the key name ("Control+Shift+F7"); "(no key)" stands for an empty name.
std::string HotkeyCombination(bool ctrl, bool shift, bool alt, bool win, std::string_view key);

}  // namespace orv
