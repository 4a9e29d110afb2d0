#include <gtest/gtest.h>

#include "app/win/shell_files.h"
#include "base/win/handles.h"
#include "common/test_files.h"

namespace orv {
namespace {

namespace fs = std::filesystem;

// Faults: a file held open without delete sharing is copied and the copy left behind; a
// read-only file cannot leave across volumes, or loses the attribute; folders do not merge;
// non-ASCII names stay; the "folder\*" pattern is taken for a folder name. The second volume
// is /dev/shm, a tmpfs under Wine, where a rename from the temp folder fails as between drives.
TEST(ShellMoveFiles, OnOneVolumeAndAcrossVolumesEveryEntryArrivesOrStaysAndNothingIsLost) {
    test::TempFolder t;
    const fs::path other = fs::path(L"Z:\\dev\\shm") / PathFromUtf8(test::UniqueName("orv"));
    for (const fs::path& target : {t.path() / "OrvDesk2", other}) {
        if (target == other && !fs::is_directory(other.parent_path())) GTEST_SKIP() << "no second volume";
        const fs::path desk = t.path() / "Desktop";
        test::PlantTree(desk, {{"held.txt", "busy"}, {"ro.txt", "ro"}, {"Übersicht – 日本/ß.txt", "ü"}});
        test::PlantTree(target, {{"Übersicht – 日本/a.txt", "kept"}});
        SetFileAttributesW((desk / "ro.txt").c_str(), FILE_ATTRIBUTE_READONLY);
        UniqueFile held(CreateFileW((desk / "held.txt").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                    0, nullptr));
        ShellMoveFiles(Utf8FromPath(desk) + "\\*", Utf8FromPath(target));
        held.reset();
        EXPECT_EQ(test::ReadTree(desk), (test::Tree{{"held.txt", "busy"}})) << target;
        EXPECT_EQ(test::ReadTree(target),
                  (test::Tree{{"ro.txt", "ro"}, {"Übersicht – 日本/a.txt", "kept"}, {"Übersicht – 日本/ß.txt", "ü"}}))
            << target;
        EXPECT_TRUE(GetFileAttributesW((target / "ro.txt").c_str()) & FILE_ATTRIBUTE_READONLY) << target;
        SetFileAttributesW((target / "ro.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
        fs::remove_all(desk);
    }
    fs::remove_all(other);
}

}  // namespace
}  // namespace orv
