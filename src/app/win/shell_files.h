// Moving and copying the desktop's files.
#pragma once

#include <string>

#include "app/desk_manager.h"

namespace orv {

// Every entry named by "folder\*" moves into the target folder as MoveAllEntries does:
// folders merge, a name met otherwise keeps both entries, and whatever cannot move stays
// where it was. No question, no error shown; what went wrong goes to the log.
void ShellMoveFiles(const std::string& sourcePattern, const std::string& targetFolder);
// Copies one file, replacing the target.
bool ShellCopyFiles(const std::string& source, const std::string& target);

class ShellIconShelf final : public IconShelf {
public:
    void ShellMoveFiles(const std::string& sourcePattern, const std::string& targetFolder) override {
        orv::ShellMoveFiles(sourcePattern, targetFolder);
    }
};

}  // namespace orv
