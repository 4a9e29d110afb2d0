// The standard dialogs' rules: filter, flags, buffers, outputs, record version, browse state.
#include <gtest/gtest.h>

#include "controls/common_dlg.h"

namespace orv::cdlg {
namespace {

using namespace std::string_literals;

// Faults: ":" kept (CD1) or one NUL at the end; the pair picked one off (CD2) or read past
// the list; the hook or template flag let through, a Boolean's flag lost, hook flags for
// view 1; a short buffer; read-only not taken from the returned flags; any version from 5
// up (or any platform) taken for the full record; a browser selection remembered before the
// dialog is initialised (CD3) or without a path (the start rules are seen under Wine).
TEST(CommonDlg, FilterFlagsBuffersOutcomesAndBrowseState) {
    const std::wstring f = ConvertFilter(L"Video Files|*.avi;*.wmv;*.mpg|All Files|*.*"), c = ConvertFilter(L"D|c:*.t|A|*.*");
    EXPECT_EQ(f + L"|" + c, L"Video Files\0*.avi;*.wmv;*.mpg\0All Files\0*.*\0\0|D\0c\0*.t\0A\0*.*\0\0"s);
    for (auto [filter, index, pair] : {std::tuple(&f, 1, L"Video Files\0*.avi;*.wmv;*.mpg"s), {&f, 2, L"All Files\0*.*"s},
                                       {&f, 3, L""s}, {&f, 0, L""s}, {&c, 2, L"*.t\0A"s}, {&c, 3, L""s}})
        EXPECT_EQ(FilterPair(*filter, index), pair) << index;
    OpenFileArgs a;  // caller's flags without hook and template; view 1 adds nothing
    EXPECT_EQ((a.flags = 0x68, std::pair(OpenFileFlags(a), OpenFileFlagsEx(a))), std::pair(0x8u, 0u));
    a.fileMustExist = a.multiSelect = a.readOnly = a.hideReadOnly = a.hideBar = true, a.shInitView = kThumbnailView;
    EXPECT_EQ(std::pair(OpenFileFlags(a), OpenFileFlagsEx(a)), std::pair(0x88122Du, 1u));
    EXPECT_EQ(PathBuffer(L"a.avi"), L"a.avi" + std::wstring(255, L'\0'));
    EXPECT_TRUE(ApplyOpenFileOutcome(a, f, {1, 0, L"C:\\v\\clip.avi\0junk"s, L"clip.avi\0"s, 0x4000, 2}) && !a.readOnly);
    EXPECT_TRUE(IsWin2000Plus(true, 2, 5) && !IsWin2000Plus(true, 2, 6) && !IsWin2000Plus(true, 1, 5) && !IsWin2000Plus(false, 2, 5));
    BrowseFolderState b;
    EXPECT_FALSE(b.Begin(L"", L"C:\\App") != L"C:\\App" || b.OnSelectionChanged(L"C:\\Early") || (b.OnInitialized(), b.OnSelectionChanged(L"")));
    EXPECT_TRUE(b.OnSelectionChanged(L"C:\\Pics") && b.LastBrowseFolder() == L"C:\\Pics");
}

}  // namespace
}  // namespace orv::cdlg
