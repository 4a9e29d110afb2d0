// The open-file dialog and the folder browser for real: the dialog runs modally on the test's
// thread while a second thread acts as the user.
#include <gtest/gtest.h>
#include <windows.h>
#include <cderr.h>
#include <commctrl.h>
#include <commdlg.h>
#include <dlgs.h>

#include <atomic>
#include <thread>

#include "controls/win/browse_folder.h"
#include "controls/win/common_dlg_win.h"
#include "win/win_helpers.h"

namespace orv {
namespace {

using namespace std::string_literals;

HWND Dialog() { return IsWindowVisible(FindWindowW(L"#32770", nullptr)) ? FindWindowW(L"#32770", nullptr) : nullptr; }

// call shows a modal dialog here; drive gets it on a second thread. Whatever drive leaves
// open (a message box too) is cancelled after 5 s.
template <class Call, class Drive> auto WithDialog(Call call, Drive drive) {
    std::atomic<bool> done{false};
    std::thread driver([&] {
        HWND dlg = nullptr;
        if (test::WaitFor([&] { return done || (dlg = Dialog()); }, 10000) && !done) drive(dlg);
        for (int wait = 0; !done; Sleep(50))
            if (++wait % 100 == 0 && (dlg = Dialog())) puts("left open"), PostMessageW(dlg, WM_COMMAND, IDCANCEL, 0);
    });
    auto result = call();
    return done = true, driver.join(), result;
}

void Press(HWND dlg, int id) { PostMessageW(dlg, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), LPARAM(GetDlgItem(dlg, id))); }

// Faults: the view command not reaching the file list, or sent again on a later notification
// (CD4: the user's own view undone); the chosen path, title, index (CD7) or pair not taken.
// Wine's file list has no thumbnail view (the command does nothing there): details stand in.
TEST(OpenFileDialog, ViewOnceThenTheChosenFileIndexAndPair) {
    const std::filesystem::path program = test::SelfPath().parent_path();  // no video files in it
    CCommonDlg dlg;
    cdlg::OpenFileArgs a;
    a.filter = L"Video Files|*.avi;*.wmv;*.mpg|All Files|*.*", a.initDir = program.wstring(), a.dlgTitle = L"Pick a video";
    a.fileMustExist = true, a.shInitView = cdlg::kReportView;
    DWORD view = 0, later = 0;
    const bool chosen = WithDialog([&] { return dlg.VBGetOpenFileName(a); }, [&](HWND d) {
        const HWND defView = FindWindowExW(d, nullptr, L"SHELLDLL_DefView", nullptr), combo = GetDlgItem(d, cmb1),
                   list = FindWindowExW(defView, nullptr, L"SysListView32", nullptr);
        test::WaitFor([&] { return (view = GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK) == LVS_REPORT; }, 3000);
        SendMessageW(defView, WM_COMMAND, 0x702B, 0), SendMessageW(combo, CB_SETCURSEL, 1, 0);  // list view, "All Files"
        for (WORD note : {CBN_SELCHANGE, CBN_SELENDOK}) SendMessageW(d, WM_COMMAND, MAKEWPARAM(cmb1, note), LPARAM(combo));
        test::WaitFor([&] { return ListView_GetItemCount(list) > 0; }, 3000);  // the dialog has notified again
        later = GetWindowLongW(list, GWL_STYLE) & LVS_TYPEMASK;
        SetDlgItemTextW(d, edt1, L"win_tests.exe"), Press(d, IDOK);
    });
    EXPECT_EQ(std::pair(view, later), std::pair(DWORD{LVS_REPORT}, DWORD{LVS_LIST}));
    EXPECT_EQ(std::tuple(chosen, a.filename, a.fileTitle, a.filterIndex, a.filter, dlg.APIReturn(), dlg.ExtendedError()),
              std::tuple(true, test::SelfPath().wstring(), L"win_tests.exe"s, 2, L"All Files\0*.*"s, 1, 0));
}

// Faults: a cancel or a failure leaving outputs behind; the failure's code not read (CD5), or a
// cancel's taken for a failure. Failure: a template by handle asked for and none given (Windows
// refuses the call; Wine reports it when the dialog ends). A too long initial name crashes Wine 8.
TEST(OpenFileDialog, CancelAndFailureGiveEmptyOutputs) {
    for (const std::int32_t flags : {0x8, 0x8 | OFN_ENABLETEMPLATEHANDLE}) {
        CCommonDlg dlg;
        cdlg::OpenFileArgs a;
        a.filename = L"clip.avi", a.filter = L"All Files|*.*", a.flags = flags;
        const bool chosen = WithDialog([&] { return dlg.VBGetOpenFileName(a); }, [&](HWND d) { Press(d, IDCANCEL); });
        EXPECT_EQ(std::tuple(chosen, a.filename, a.fileTitle, a.filter, a.filterIndex, a.flags, dlg.APIReturn(), dlg.ExtendedError()),
                  std::tuple(false, L""s, L""s, L""s, -1, 0, 0, flags == 0x8 ? 0 : CDERR_LOADRESFAILURE));
    }
}

// Faults: an empty start folder not opening at the program's folder (CD6), the last selection
// not remembered (also after Cancel) or replaced by the program's folder, a start folder not
// taken or a one-character one taken, no status text (hidden in the new style, as on Windows).
TEST(BrowseFolder, OpensAtTheProgramFolderThenAtTheLastSelection) {
    const std::filesystem::path program = test::SelfPath().parent_path(), up = program.parent_path(), tools = up / "tools";
    std::wstring status;
    auto browse = [&](const std::wstring& start, const std::filesystem::path& at, bool moveUp, int press) {
        return WithDialog([&] { return BrowseForFolder(nullptr, L"Pick a folder", start); }, [&](HWND d) {
            const HWND tree = GetDlgItem(d, 0x3741);
            wchar_t text[MAX_PATH] = {};
            test::WaitFor([&] {  // opened at a folder: the tree shows it selected
                TVITEMW tv{};
                tv.mask = TVIF_TEXT, tv.hItem = TreeView_GetSelection(tree), tv.pszText = text, tv.cchTextMax = MAX_PATH;
                return TreeView_GetItem(tree, &tv) && text == at.filename().wstring();
            }, 5000);
            if (moveUp) TreeView_SelectItem(tree, TreeView_GetParent(tree, TreeView_GetSelection(tree)));
            GetDlgItemTextW(d, 0x3743, text, MAX_PATH), status = text, Press(d, press);
        });
    };
    EXPECT_EQ(browse(L"", program, false, IDOK), program.wstring());
    EXPECT_EQ(std::pair(browse(L"", program, true, IDCANCEL), status), std::pair(L""s, up.wstring()));
    EXPECT_EQ(browse(L"X", up, false, IDOK), up.wstring());
    EXPECT_EQ(browse(tools.wstring(), tools, false, IDOK), tools.wstring());  // (Wine's tree does not reach into Temp)
}

}  // namespace
}  // namespace orv
