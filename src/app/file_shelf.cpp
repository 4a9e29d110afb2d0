#include "app/file_shelf.h"

#include <algorithm>
#include <string>

namespace orv {

namespace fs = std::filesystem;

namespace {

// Far beyond any real collision; a name that never comes free leaves the entry where it is.
constexpr int kLastNumber = 9999;

bool Holds(const fs::path& folder, const fs::path& p) {
    return std::mismatch(folder.begin(), folder.end(), p.begin(), p.end()).first == folder.end();
}

class Mover {
public:
    explicit Mover(FileOps& ops) : ops_(ops) {}

    // Every entry of from into the folder to.
    void MergeInto(const fs::path& from, const fs::path& to) {
        for (const fs::path& name : ops_.List(from)) {
            const fs::path src = from / name;
            const EntryKind kind = ops_.Kind(src);
            if (kind == EntryKind::None) continue;  // gone meanwhile
            if (Holds(src, to)) {
                // A folder cannot move into itself (a Desktop folder set to the profile
                // holds the data folder, and so the icon folders).
                r_.stayed.push_back(src);
                continue;
            }
            fs::path dst = to / name;
            const EntryKind there = ops_.Kind(dst);
            if (kind == EntryKind::Folder && there == EntryKind::Folder) {
                MergeFolder(src, dst, false);
                continue;
            }
            fs::path aside;
            const std::size_t numbered = r_.numbered.size();
            if (there != EntryKind::None && !MakeRoom(to, name, there, kind == EntryKind::Folder, dst, aside)) {
                r_.stayed.push_back(src);
                continue;
            }
            MoveEntry(src, kind, dst);
            // Nothing arrived: the stray takes its own name back.
            if (there != EntryKind::None && ops_.Kind(dst) == EntryKind::None &&
                (aside.empty() || ops_.Rename(aside, dst)))
                r_.numbered.erase(r_.numbered.begin() + static_cast<std::ptrdiff_t>(numbered));
        }
    }

    MoveResult Take() { return std::move(r_); }

private:
    // The stray at dst goes aside to a numbered name; when it cannot, dst becomes one.
    bool MakeRoom(const fs::path& to, const fs::path& name, EntryKind there, bool arrivingFolder, fs::path& dst,
                  fs::path& aside) {
        aside = FreeName(to, name, there == EntryKind::Folder);
        if (!aside.empty() && ops_.Rename(dst, aside)) {
            r_.numbered.push_back(aside);
            return true;
        }
        aside.clear();
        dst = FreeName(to, name, arrivingFolder);
        if (dst.empty()) return false;
        r_.numbered.push_back(dst);
        return true;
    }

    fs::path FreeName(const fs::path& to, const fs::path& name, bool folder) {
        for (int n = 2; n <= kLastNumber; ++n) {
            fs::path p = to / NumberedName(name, n, folder);
            if (ops_.Kind(p) == EntryKind::None) return p;
        }
        return {};
    }

    // dst is free.
    void MoveEntry(const fs::path& src, EntryKind kind, const fs::path& dst) {
        if (ops_.Rename(src, dst)) return;
        if (kind == EntryKind::File) {
            // Another volume: copy, then remove the source. A source that cannot be removed
            // (a file held open) stays, and so the copy goes again: two of one file would
            // let a later move replace the newer one with the stale one.
            if (!ops_.Copy(src, dst)) {
                r_.stayed.push_back(src);
            } else if (!ops_.Remove(src)) {
                if (!ops_.Remove(dst)) r_.strayCopies.push_back(dst);
                r_.stayed.push_back(src);
            }
        } else if (kind == EntryKind::Folder && ops_.MakeFolder(dst)) {
            MergeFolder(src, dst, true);
        } else {
            // A link is never followed: what it points to is not the desktop's to move.
            r_.stayed.push_back(src);
        }
    }

    // The source folder goes once every entry has left it; a folder made for the move goes
    // again when nothing arrived in it.
    void MergeFolder(const fs::path& src, const fs::path& dst, bool made) {
        const std::size_t before = r_.stayed.size();
        MergeInto(src, dst);
        if (r_.stayed.size() == before) {
            if (!ops_.Remove(src)) r_.stayed.push_back(src);
        } else if (made && ops_.List(dst).empty()) {
            ops_.Remove(dst);
        }
    }

    FileOps& ops_;
    MoveResult r_;
};

// The two folders of a move are followed where they are links (a Desktop folder linked to
// another drive); only the entries inside are never followed.
bool IsFolder(EntryKind k) { return k == EntryKind::Folder || k == EntryKind::Link; }

bool MakeFolders(FileOps& ops, const fs::path& p) {
    if (IsFolder(ops.Kind(p))) return true;
    const fs::path parent = p.parent_path();
    if (!parent.empty() && parent != p && ops.Kind(parent) == EntryKind::None) MakeFolders(ops, parent);
    return ops.MakeFolder(p);
}

}  // namespace

MoveResult MoveAllEntries(FileOps& ops, const fs::path& from, const fs::path& to) {
    if (!IsFolder(ops.Kind(from)) || from.lexically_normal() == to.lexically_normal()) return {};
    Mover m(ops);
    if (MakeFolders(ops, to)) m.MergeInto(from, to);
    MoveResult r = m.Take();
    if (!IsFolder(ops.Kind(to))) r.stayed.push_back(from);
    return r;
}

fs::path NumberedName(const fs::path& name, int n, bool folder) {
    const std::string tag = " (" + std::to_string(n) + ")";
    if (folder || !name.has_extension() || !name.has_stem()) {
        fs::path p = name;
        p += tag;
        return p;
    }
    fs::path p = name.stem();
    p += tag;
    p += name.extension();
    return p;
}

std::string_view PatternFolder(std::string_view pattern) {
    if (pattern.size() >= 2 && pattern.back() == '*' &&
        (pattern[pattern.size() - 2] == '\\' || pattern[pattern.size() - 2] == '/'))
        pattern.remove_suffix(2);
    return pattern;
}

}  // namespace orv
