// Moving and copying the desktop's files.
#pragma once

#include <string>

#include "app/desk_manager.h"

namespace orv {

// Every entry named by "folder\*" moves into the target folder: folders merge into folders
// of the same name, files replace files of the same name. No question, no error shown.
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
