// Moving the desktop icons: every entry of one folder into another, so that a move either
// completes or leaves the entry where it was, and nothing is ever lost.
//
// An entry is renamed into place; where that is not possible (the folders lie on different
// volumes, as a redirected Desktop folder on a synced or network path does) a file is
// copied and its source removed, and when the source cannot be removed the copy is removed
// again and the file stays. A folder that meets a folder of the same name merges into it
// entry by entry, and leaves the source only once it is empty. Links inside are moved by
// rename alone, never followed; an entry that holds the target folder stays.
//
// Any other meeting of names (a file and a file, a file and a folder, a folder and a file)
// keeps both: the arriving entry takes the name, since it belongs to the desktop being
// entered or left and must look as it did; the entry already there is a stray (left by an
// interrupted run, or put into an icon folder by hand) and is kept under the first free
// numbered name, "name (2).ext", "name (3).ext" ... Where the stray cannot be renamed (a
// file held open), the arriving entry takes the numbered name instead.
#pragma once

#include <filesystem>
#include <string_view>
#include <vector>

namespace orv {

enum class EntryKind { None, File, Folder, Link };  // Link: a symbolic link or a junction

// The file system as a move needs it. Rename and Copy never replace an existing entry.
class FileOps {
public:
    virtual ~FileOps() = default;
    virtual EntryKind Kind(const std::filesystem::path& p) = 0;
    virtual std::vector<std::filesystem::path> List(const std::filesystem::path& folder) = 0;  // names
    virtual bool MakeFolder(const std::filesystem::path& p) = 0;
    // A file or folder, within one volume.
    virtual bool Rename(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // A file's content and attributes; no part of the target is left when it fails.
    virtual bool Copy(const std::filesystem::path& from, const std::filesystem::path& to) = 0;
    // A file (read-only ones too) or an empty folder.
    virtual bool Remove(const std::filesystem::path& p) = 0;
};

struct MoveResult {
    std::vector<std::filesystem::path> stayed;       // could not move: left where they were
    std::vector<std::filesystem::path> numbered;     // kept under a numbered name (the new path)
    std::vector<std::filesystem::path> strayCopies;  // copies that could not be removed again
};

MoveResult MoveAllEntries(FileOps& ops, const std::filesystem::path& from, const std::filesystem::path& to);

// "report.txt", 2 -> "report (2).txt"; a name without extension, a name that starts with
// its only dot, and any folder take the number at the end: "README (2)", ".profile (2)".
std::filesystem::path NumberedName(const std::filesystem::path& name, int n, bool folder);

// "C:\dir\*" -> "C:\dir": the folder whose every entry a move pattern names. A text without
// a trailing "\*" (or "/*") names the folder itself.
std::string_view PatternFolder(std::string_view pattern);

}  // namespace orv
