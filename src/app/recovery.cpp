#include "app/recovery.h"

namespace orv {

RecoveryReport RecoverJournal(JournalOps& ops, IconShelf& icons, DesktopLook& look, const std::string& desktopFolder,
                              const std::string& iconFolderBase) {
    RecoveryReport r;
    const std::optional<std::string> text = ops.Read();
    if (!text) return r;
    r.found = true;
    const std::optional<JournalState> s = ParseJournal(*text, &r.why);
    if (s) {
        r.valid = true;
        r.currentDesk = s->currentDesk;
        r.iconsDesk = s->iconsDesk;
        r.shown = RecoverWindows(*s, ops, &r.skipped);
        if (s->iconsDesk != kIconsShared && !desktopFolder.empty()) {
            if (s->iconsDesk != 1)
                icons.ShellMoveFiles(desktopFolder + "\\*", iconFolderBase + std::to_string(s->iconsDesk));
            icons.ShellMoveFiles(iconFolderBase + "1\\*", desktopFolder);
        }
        look.RestoreDesktopLook(1);
    }
    ops.Remove();
    return r;
}

std::string DescribeRecovery(const RecoveryReport& r) {
    if (!r.valid) return "Journal ignored (" + r.why + ")";
    std::string line = "Recovered a run killed on desktop " + std::to_string(r.currentDesk) + ": " +
                       std::to_string(r.shown) + " windows shown again, " + std::to_string(r.skipped) +
                       " gone or not theirs left alone";
    if (r.iconsDesk != kIconsShared)
        line += "; the Desktop folder held desktop " + std::to_string(r.iconsDesk) + "'s files, now desktop 1's";
    return line;
}

}  // namespace orv
