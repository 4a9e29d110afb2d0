// Moving the desktop icons: every entry of one folder into another. A folder that meets a
// folder of the same name merges into it; a file that meets a file of the same name
// replaces it. Nothing is ever deleted that has not arrived at its destination.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>

namespace orv {

struct MoveResult {
    int moved = 0;    // entries (files and folders, counted at every depth) that arrived
    int skipped = 0;  // entries left where they were (a file meets a folder, or an I/O error)
};

MoveResult MoveAllEntries(const std::filesystem::path& from, const std::filesystem::path& to);

// "C:\dir\*" -> "C:\dir": the folder whose every entry a move pattern names. A text without
// a trailing "\*" (or "/*") names the folder itself.
std::string_view PatternFolder(std::string_view pattern);

}  // namespace orv
