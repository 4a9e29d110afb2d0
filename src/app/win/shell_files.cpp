#include "app/win/shell_files.h"

#include <windows.h>

#include "app/file_shelf.h"
#include "base/paths.h"
#include "base/win/utf.h"

namespace orv {

// The shell's own move leaves a folder behind when the target already holds one of that
// name, so the entries are moved one by one, which behaves the same everywhere.
void ShellMoveFiles(const std::string& sourcePattern, const std::string& targetFolder) {
    try {
        MoveAllEntries(PathFromUtf8(PatternFolder(sourcePattern)), PathFromUtf8(targetFolder));
    } catch (...) {
        // Errors are not shown; whatever could not move stays where it was.
    }
}

bool ShellCopyFiles(const std::string& source, const std::string& target) {
    return CopyFileW(Widen(source).c_str(), Widen(target).c_str(), FALSE) != FALSE;
}

}  // namespace orv
