#include "app/tray_texts.h"

namespace orv {

std::string DeskName(int desk) { return "Desktop " + std::to_string(desk); }

std::string TrayTipText(std::string_view caption, bool trayTipsOn, int desk) {
    std::string tip(caption);
    if (trayTipsOn) tip += " - " + DeskName(desk);
    return tip;
}

std::string HotkeyCombination(bool ctrl, bool shift, bool alt, bool win, std::string_view key) {
    std::string text;
    if (ctrl) text += "Control+";
    if (shift) text += "Shift+";
    if (alt) text += "Alt+";
    if (win) text += "Win+";
    return text + (key.empty() ? std::string("(no key)") : std::string(key));
}

}  // namespace orv
