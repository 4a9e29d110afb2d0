#include "app/file_shelf.h"

#include <gtest/gtest.h>

#include <map>
#include <set>

#include "base/paths.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using Tree = std::map<std::string, std::string>;  // "a/b.txt" -> text, "a/" -> a folder
using Names = std::set<std::string>;

std::string Key(const fs::path& p) {
    const std::u8string s = p.generic_u8string();
    return {s.begin(), s.end()};
}

// Two volumes in memory, "desk" and "shelf". Entries named in the sets refuse that call, as a
// file held open does; links are files that are marked as such.
struct FakeFiles final : FileOps {
    Tree t;
    Names links, noRename, noCopy, noRemove;
    bool oneVolume = true;

    bool Has(const std::string& k) const { return t.count(k) || t.count(k + "/"); }
    bool ParentIsFolder(const fs::path& p) const { return !p.has_parent_path() || t.count(Key(p.parent_path()) + "/"); }
    EntryKind Kind(const fs::path& p) override {
        const std::string k = Key(p);
        return t.count(k + "/") ? EntryKind::Folder : !t.count(k) ? EntryKind::None
                                                    : links.count(k) ? EntryKind::Link : EntryKind::File;
    }
    std::vector<fs::path> List(const fs::path& folder) override {
        std::vector<fs::path> names;
        const std::string pre = Key(folder) + "/";
        for (const auto& [k, v] : t)
            if (k.size() > pre.size() && k.starts_with(pre) && k.find('/', pre.size()) >= k.size() - 1)
                names.push_back(PathFromUtf8(k.substr(pre.size(), k.find('/', pre.size()) - pre.size())));
        return names;
    }
    bool MakeFolder(const fs::path& p) override {
        if (Has(Key(p)) || !ParentIsFolder(p)) return false;
        t[Key(p) + "/"];
        return true;
    }
    bool Rename(const fs::path& from, const fs::path& to) override {
        const std::string a = Key(from), b = Key(to);
        if (noRename.count(a) || !Has(a) || Has(b) || !ParentIsFolder(to)) return false;
        if (!oneVolume && *from.begin() != *to.begin()) return false;
        Tree moved;
        for (auto it = t.begin(); it != t.end();) {
            if (it->first == a || it->first.starts_with(a + "/")) {
                moved[b + it->first.substr(a.size())] = it->second;
                it = t.erase(it);
            } else {
                ++it;
            }
        }
        t.merge(moved);
        if (links.erase(a)) links.insert(b);
        return true;
    }
    bool Copy(const fs::path& from, const fs::path& to) override {
        if (noCopy.count(Key(from)) || Kind(from) != EntryKind::File || Has(Key(to)) || !ParentIsFolder(to)) return false;
        t[Key(to)] = t[Key(from)];
        return true;
    }
    bool Remove(const fs::path& p) override {
        const std::string k = Key(p);
        if (noRemove.count(k) || (Kind(p) == EntryKind::Folder && !List(p).empty())) return false;
        return t.erase(k) + t.erase(k + "/") > 0;
    }
};

// Fault: the number goes after the extension ("a.txt (2)"), so the file no longer opens
// with its program; or a folder's dot is taken for an extension; or a leading dot for one.
TEST(NumberedName, BeforeTheLastExtensionOfAFileElseAtTheEnd) {
    struct Case { const char* name; int n; bool folder; const char* expected; };
    const Case cases[] = {
        {"report.txt", 2, false, "report (2).txt"},   {"archive.tar.gz", 3, false, "archive.tar (3).gz"},
        {"README", 2, false, "README (2)"},           {".profile", 2, false, ".profile (2)"},
        {"my.project", 2, true, "my.project (2)"},    {"Grüße 日本.txt", 12, false, "Grüße 日本 (12).txt"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Key(NumberedName(PathFromUtf8(c.name), c.n, c.folder)), c.expected) << c.name;
}

// Faults: an arriving entry replaces what was there (a file lost); a file and a folder of
// one name leave the arriving entry behind; folders are set aside instead of merged; the
// first free number is not searched ("(2)" taken twice); a merged folder stays in the source.
TEST(MoveAllEntries, EveryKindOfCollisionKeepsBothTheArrivingEntryTakingTheName) {
    for (const bool oneVolume : {true, false}) {
        FakeFiles f;
        f.oneVolume = oneVolume;
        f.t = {{"desk/", ""}, {"desk/a.txt", "new a"}, {"desk/x", "file x"}, {"desk/y/", ""}, {"desk/y/in", "folder y"},
               {"desk/p/", ""}, {"desk/p/q.txt", "new q"}, {"desk/p/r/", ""}, {"desk/README", "new readme"},
               {"shelf/", ""}, {"shelf/a.txt", "stray a"}, {"shelf/a (2).txt", "stray a2"}, {"shelf/x/", ""},
               {"shelf/x/in", "folder x"}, {"shelf/y", "file y"}, {"shelf/p/", ""}, {"shelf/p/q.txt", "stray q"},
               {"shelf/README", "stray readme"}};
        const MoveResult r = MoveAllEntries(f, "desk", "shelf");
        EXPECT_EQ(f.t, (Tree{{"desk/", ""}, {"shelf/", ""}, {"shelf/a.txt", "new a"}, {"shelf/a (2).txt", "stray a2"},
                             {"shelf/a (3).txt", "stray a"}, {"shelf/x", "file x"}, {"shelf/x (2)/", ""},
                             {"shelf/x (2)/in", "folder x"}, {"shelf/y/", ""}, {"shelf/y/in", "folder y"},
                             {"shelf/y (2)", "file y"}, {"shelf/p/", ""}, {"shelf/p/q.txt", "new q"},
                             {"shelf/p/q (2).txt", "stray q"}, {"shelf/p/r/", ""}, {"shelf/README", "new readme"},
                             {"shelf/README (2)", "stray readme"}}))
            << oneVolume;
        EXPECT_TRUE(r.stayed.empty() && r.strayCopies.empty()) << oneVolume;
        EXPECT_EQ(r.numbered.size(), 5u) << oneVolume;
    }
}

// What cannot move stays where it was, with nothing of it left at the target.
TEST(MoveAllEntries, WhatCannotMoveStaysWithNoCopyLeft) {
    struct Case {
        const char* fault;
        bool oneVolume;
        Names noRename, noCopy, noRemove, links;
        Tree expected;
        std::vector<std::string> stayed;
        std::vector<std::string> strayCopies = {};
    };
    const Tree start = {{"desk/", ""}, {"desk/f.txt", "f"}, {"desk/d/", ""}, {"desk/d/g.txt", "g"},
                        {"desk/d/h.txt", "h"}, {"shelf/", ""}};
    const Case cases[] = {
        {"a copy whose source cannot be removed is left behind", false, {}, {}, {"desk/f.txt"}, {},
         {{"desk/", ""}, {"desk/f.txt", "f"}, {"shelf/", ""}, {"shelf/d/", ""}, {"shelf/d/g.txt", "g"},
          {"shelf/d/h.txt", "h"}}, {"desk/f.txt"}},
        {"the same on one volume, the rename refused (a file held open)", true, {"desk/f.txt"}, {}, {"desk/f.txt"}, {},
         {{"desk/", ""}, {"desk/f.txt", "f"}, {"shelf/", ""}, {"shelf/d/", ""}, {"shelf/d/g.txt", "g"},
          {"shelf/d/h.txt", "h"}}, {"desk/f.txt"}},
        {"a folder leaves the source while an entry stays in it", false, {}, {}, {"desk/d/g.txt"}, {},
         {{"desk/", ""}, {"desk/d/", ""}, {"desk/d/g.txt", "g"}, {"shelf/", ""}, {"shelf/f.txt", "f"},
          {"shelf/d/", ""}, {"shelf/d/h.txt", "h"}}, {"desk/d/g.txt"}},
        {"a folder made for a move that brought nothing stays empty", false, {}, {"desk/d/g.txt", "desk/d/h.txt"}, {}, {},
         {{"desk/", ""}, {"desk/d/", ""}, {"desk/d/g.txt", "g"}, {"desk/d/h.txt", "h"}, {"shelf/", ""},
          {"shelf/f.txt", "f"}}, {"desk/d/g.txt", "desk/d/h.txt"}},
        {"a link is followed and copied across volumes", false, {}, {}, {}, {"desk/f.txt"},
         {{"desk/", ""}, {"desk/f.txt", "f"}, {"shelf/", ""}, {"shelf/d/", ""}, {"shelf/d/g.txt", "g"},
          {"shelf/d/h.txt", "h"}}, {"desk/f.txt"}},
        {"a copy that cannot be removed again is not reported", false, {}, {}, {"desk/f.txt", "shelf/f.txt"}, {},
         {{"desk/", ""}, {"desk/f.txt", "f"}, {"shelf/", ""}, {"shelf/f.txt", "f"}, {"shelf/d/", ""},
          {"shelf/d/g.txt", "g"}, {"shelf/d/h.txt", "h"}}, {"desk/f.txt"}, {"shelf/f.txt"}},
    };
    for (const auto& c : cases) {
        FakeFiles f;
        f.t = start;
        f.oneVolume = c.oneVolume;
        f.noRename = c.noRename, f.noCopy = c.noCopy, f.noRemove = c.noRemove, f.links = c.links;
        const MoveResult r = MoveAllEntries(f, "desk", "shelf");
        EXPECT_EQ(f.t, c.expected) << c.fault;
        std::vector<std::string> stayed, strays;
        for (const auto& p : r.stayed) stayed.push_back(Key(p));
        for (const auto& p : r.strayCopies) strays.push_back(Key(p));
        EXPECT_EQ(stayed, c.stayed) << c.fault;
        EXPECT_EQ(strays, c.strayCopies) << c.fault;
    }
}

// Faults: a stray that cannot be renamed aside is replaced or blocks the arriving file; a
// stray set aside for an arrival that then fails keeps the numbered name for nothing.
TEST(MoveAllEntries, AStrayThatCannotGoAsideGivesTheArrivingFileTheNumber) {
    FakeFiles f;
    f.t = {{"desk/", ""}, {"desk/a.txt", "new"}, {"desk/b.txt", "held"}, {"shelf/", ""}, {"shelf/a.txt", "open"},
           {"shelf/b.txt", "stray"}};
    f.noRename = {"shelf/a.txt", "desk/b.txt"};
    f.noRemove = {"desk/b.txt"};
    f.oneVolume = false;
    const MoveResult r = MoveAllEntries(f, "desk", "shelf");
    EXPECT_EQ(f.t, (Tree{{"desk/", ""}, {"desk/b.txt", "held"}, {"shelf/", ""}, {"shelf/a.txt", "open"},
                         {"shelf/a (2).txt", "new"}, {"shelf/b.txt", "stray"}}));
    ASSERT_EQ(r.numbered.size(), 1u);
    EXPECT_EQ(Key(r.numbered[0]), "shelf/a (2).txt");
}

// Faults: a missing target folder moves nothing; a missing source is reported or made.
TEST(MoveAllEntries, AMissingSourceDoesNothingAndAMissingTargetIsMade) {
    FakeFiles f;
    EXPECT_TRUE(MoveAllEntries(f, "desk", "shelf").stayed.empty());
    EXPECT_TRUE(f.t.empty());
    f.t = {{"desk/", ""}, {"desk/a.txt", "a"}, {"shelf/", ""}};
    EXPECT_TRUE(MoveAllEntries(f, "desk", "shelf/made/later").stayed.empty());
    EXPECT_EQ(f.t, (Tree{{"desk/", ""}, {"shelf/", ""}, {"shelf/made/", ""}, {"shelf/made/later/", ""},
                         {"shelf/made/later/a.txt", "a"}}));
}

}  // namespace
}  // namespace orv
