// Undoing what a killed run left behind, from its journal: at the next start, and in the
// watchdog the moment the program ends without removing its journal.
#pragma once

#include <string>

#include "app/desk_manager.h"
#include "app/journal.h"

namespace orv {

struct RecoveryReport {
    bool found = false;  // a journal was there
    bool valid = false;  // and could be read
    std::string why;     // why it could not
    int currentDesk = 0, iconsDesk = kIconsShared;
    int shown = 0, skipped = 0;
};

// Shows the journalled windows that pass RecoverWindows' test, brings the Desktop folder
// back to desktop 1's files (what it holds goes to its desktop's folder first), puts
// desktop 1's look back and removes the journal. A torn or garbage journal changes nothing
// and is removed.
RecoveryReport RecoverJournal(JournalOps& ops, IconShelf& icons, DesktopLook& look, const std::string& desktopFolder,
                              const std::string& iconFolderBase);

// One line for the log.
std::string DescribeRecovery(const RecoveryReport& r);

}  // namespace orv
