#include "app/file_shelf.h"

#include <gtest/gtest.h>

#include <set>

#include "common/test_files.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::Tree;

// The real file system in a temp folder with two "volumes", desk/ and shelf/ (a rename
// between them fails unless oneVolume). Calls on the paths in the sets fail, as on a file
// held open; an entry named "link" is a link.
struct Refusing final : FileOps {
    test::TempFolder t;
    std::set<fs::path> noRename, noCopy, noRemove;
    bool oneVolume = false;
    std::error_code ec;
    bool No(const std::set<fs::path>& s, const fs::path& p) { return s.count(p.lexically_relative(t.path())); }
    EntryKind Kind(const fs::path& p) override {
        const fs::file_status s = fs::symlink_status(p);
        return !fs::exists(s) ? EntryKind::None : fs::is_directory(s) ? EntryKind::Folder
               : p.filename() == "link" ? EntryKind::Link : EntryKind::File;
    }
    std::vector<fs::path> List(const fs::path& d) override {
        std::vector<fs::path> v;
        for (const auto& e : fs::directory_iterator(d)) v.push_back(e.path().filename());
        return v;
    }
    bool MakeFolder(const fs::path& p) override { return fs::create_directory(p); }
    bool Rename(const fs::path& a, const fs::path& b) override {
        const auto volume = [&](const fs::path& p) { return *p.lexically_relative(t.path()).begin(); };
        if (No(noRename, a) || Kind(b) != EntryKind::None || (volume(a) != volume(b) && !oneVolume)) return false;
        return fs::rename(a, b), true;
    }
    bool Copy(const fs::path& a, const fs::path& b) override { return !No(noCopy, a) && fs::copy_file(a, b); }
    bool Remove(const fs::path& p) override { return !No(noRemove, p) && fs::remove(p, ec); }
};

// Faults: an arriving entry replaces the one there, or a file and a folder of one name leave
// the arriving one behind; folders are set aside instead of merged; a taken "(2)" is reused;
// the number goes after the extension, or a folder's or a leading dot counts as one. A copy
// whose source is held open is left behind; a folder leaves the source with an entry still
// in it; a link is copied (what it points to is not the desktop's); a stray that cannot go
// aside is replaced, or one set aside for an arrival that failed keeps the number.
TEST(MoveAllEntries, CollisionsOfEveryKindKeepBothAndWhatCannotMoveStaysWithNoCopyLeft) {
    for (const bool oneVolume : {true, false}) {
        Refusing m;
        m.oneVolume = oneVolume;
        m.noRename = {"desk/f.txt", "desk/d", "desk/d/g.txt", "desk/link", "desk/t.txt", "shelf/s.txt"};
        m.noRemove = {"desk/f.txt", "desk/d/g.txt"};  // held open
        m.noCopy = {"desk/t.txt"};                    // held open without read sharing
        test::PlantTree(m.t.path(), {{"desk/a.tar.gz", "new"}, {"desk/x.d", "file"}, {"desk/.y/in", "folder"},
                                     {"desk/p/README", "new"}, {"desk/p/q/", ""}, {"desk/f.txt", "f"},
                                     {"desk/d/g.txt", "g"}, {"desk/d/h.txt", "h"}, {"desk/link", "l"},
                                     {"desk/s.txt", "new"}, {"desk/t.txt", "t"},
                                     {"shelf/a.tar.gz", "stray"}, {"shelf/a.tar (2).gz", "stray 2"},
                                     {"shelf/x.d/in", "stray folder"}, {"shelf/.y", "stray file"},
                                     {"shelf/p/README", "stray"}, {"shelf/s.txt", "held"}, {"shelf/t.txt", "stray"}});
        MoveAllEntries(m, m.t.path() / "desk", m.t.path() / "shelf");
        EXPECT_EQ(test::ReadTree(m.t.path()),
                  (Tree{{"desk/f.txt", "f"}, {"desk/d/g.txt", "g"}, {"desk/link", "l"}, {"desk/t.txt", "t"},
                        {"shelf/a.tar.gz", "new"}, {"shelf/a.tar (2).gz", "stray 2"}, {"shelf/a.tar (3).gz", "stray"},
                        {"shelf/x.d", "file"}, {"shelf/x.d (2)/in", "stray folder"}, {"shelf/.y/in", "folder"},
                        {"shelf/.y (2)", "stray file"}, {"shelf/p/README", "new"}, {"shelf/p/README (2)", "stray"},
                        {"shelf/p/q/", ""}, {"shelf/d/h.txt", "h"}, {"shelf/s.txt", "held"}, {"shelf/s (2).txt", "new"},
                        {"shelf/t.txt", "stray"}}))
            << oneVolume;
    }
}

}  // namespace
}  // namespace orv
