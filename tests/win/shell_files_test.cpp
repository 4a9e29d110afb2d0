#include <gtest/gtest.h>

#include "app/win/shell_files.h"
#include "common/test_files.h"
#include "sandbox.h"

namespace orv {
namespace {

namespace fs = std::filesystem;
using test::TempFolder;

constexpr auto Write = test::WriteFile;
constexpr auto Read = test::ReadFile;

TEST(ShellMoveFiles, FoldersMergeFilesReplaceAndNothingIsLeftBehind) {
    TempFolder t;
    const fs::path desk = t.path() / "Desktop", icons = t.path() / "OrvDesk2";
    Write(desk / "note.txt", "on desktop");
    Write(desk / "Projects" / "a.txt", "kept");
    Write(desk / "Projects" / "same.txt", "old");
    Write(icons / "note.txt", "arriving");
    Write(icons / "Projects" / "same.txt", "arriving");
    Write(icons / "Projects" / "Deep" / "b.txt", "deep");
    Write(icons / PathFromUtf8("Übersicht – 日本.txt"), "unicode");

    ShellMoveFiles(Utf8FromPath(icons) + "\\*", Utf8FromPath(desk));

    EXPECT_TRUE(fs::is_empty(icons)) << "the shell's own move leaves an existing folder behind";
    EXPECT_EQ(Read(desk / "note.txt"), "arriving");
    EXPECT_EQ(Read(desk / "Projects" / "a.txt"), "kept");
    EXPECT_EQ(Read(desk / "Projects" / "same.txt"), "arriving");
    EXPECT_EQ(Read(desk / "Projects" / "Deep" / "b.txt"), "deep");
    EXPECT_EQ(Read(desk / PathFromUtf8("Übersicht – 日本.txt")), "unicode");
}

TEST(ShellMoveFiles, MissingSourceAndOpenFilesAreSafe) {
    TempFolder t;
    ShellMoveFiles(t / "nowhere\\*", t / "target");  // nothing to do, nothing thrown

    const fs::path src = t.path() / "src";
    Write(src / "locked.txt", "busy");
    Write(src / "free.txt", "free");
    // A file held open without delete sharing cannot move; it must stay intact.
    HANDLE h = CreateFileW((src / "locked.txt").wstring().c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                           OPEN_EXISTING, 0, nullptr);
    ASSERT_NE(h, INVALID_HANDLE_VALUE);
    ShellMoveFiles(Utf8FromPath(src) + "\\*", t / "dst");
    CloseHandle(h);
    EXPECT_EQ(Read(t.path() / "dst" / "free.txt"), "free");
    const bool inSource = fs::exists(src / "locked.txt"), inTarget = fs::exists(t.path() / "dst" / "locked.txt");
    EXPECT_TRUE(inSource || inTarget);
    EXPECT_EQ(Read(inSource ? src / "locked.txt" : t.path() / "dst" / "locked.txt"), "busy");
}

TEST(ShellCopyFiles, ReplacesTheTarget) {
    TempFolder t;
    Write(t.path() / "Wallpaper1.bmp", "picture");
    Write(t.path() / "Wall2.bmp", "older");
    EXPECT_TRUE(ShellCopyFiles(t / "Wallpaper1.bmp", t / "Wall2.bmp"));
    EXPECT_EQ(Read(t.path() / "Wall2.bmp"), "picture");
    EXPECT_FALSE(ShellCopyFiles(t / "missing.bmp", t / "Wall3.bmp"));
}

TEST(PathExists, FindsFilesOnly) {
    TempFolder t;
    Write(t.path() / "clip.avi", "x");
    Write(t.path() / PathFromUtf8("vidéo.avi"), "x");
    fs::create_directories(t.path() / "folder");
    struct Case { std::string path; bool expected; };
    const Case cases[] = {{t / "clip.avi", true},  {t / "vidéo.avi", true}, {t / "*.avi", true},
                          {t / "folder", false},   {t / "none.avi", false}, {"", false},
                          {t / "folder\\*", false}};
    for (const auto& c : cases) EXPECT_EQ(PathExists(c.path), c.expected) << c.path;
}

}  // namespace
}  // namespace orv
