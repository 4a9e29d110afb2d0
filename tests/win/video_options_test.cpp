// The video settings dialog on a test window, driven through its own loop: the rows, OK,
// Escape, the close image and Browse with the real open-file dialog.
#include "video/win/frm_video_options.h"

#include <gtest/gtest.h>
#include <dlgs.h>

#include <functional>
#include <vector>

#include "base/win/utf.h"
#include "common/test_files.h"
#include "win/win_helpers.h"

namespace orv {
namespace {

using namespace std::string_literals;
using Step = std::function<void(HWND)>;

// Steps run one per tick of a thread timer while the dialog's loop runs (also inside the
// open-file dialog's loop); the last closes it.
std::vector<Step> g_steps;
size_t g_next = 0;
void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    const HWND dlg = FindWindowW(kVideoOptionsClass, nullptr);
    if (!dlg) return;
    if (g_next < g_steps.size()) return g_steps[g_next++](dlg);
    ADD_FAILURE() << "the dialog is still open";
    PostMessageW(dlg, WM_CLOSE, 0, 0);
}
HWND Row(HWND dlg, int desk, int id) { return GetDlgItem(GetDlgItem(dlg, kVidRow0 + desk - 1), id); }
std::wstring Text(HWND w) { wchar_t t[300] = {}; return GetWindowTextW(w, t, 300), t; }
bool Checked(HWND w) { return SendMessageW(w, BM_GETCHECK, 0, 0) == BST_CHECKED; }
void Key(HWND dlg, WPARAM vk) { for (UINT m : {WM_KEYDOWN, WM_KEYUP}) PostMessageW(GetFocus() ? GetFocus() : dlg, m, vk, 0); }
void Click(HWND w) { PostMessageW(w, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(4, 4)), PostMessageW(w, WM_LBUTTONUP, 0, MAKELPARAM(4, 4)); }
HWND OpenFileDialog() { const HWND d = FindWindowW(L"#32770", nullptr); return IsWindowVisible(d) ? d : nullptr; }

struct Bench {
    HWND bar = CreateWindowW(L"STATIC", L" Bar caption", WS_POPUP, 0, 0, 9, 9, nullptr, nullptr, nullptr, nullptr);
    VideoOptions options;
    int applied = 0;
    VideoOptionsContext ctx{options, 2, bar, nullptr, [this] { ++applied; }};
    Bench() {
        for (int d = 1; d <= 6; ++d) options[d] = {d % 2 == 0, d == 2, d != 3, "C:\\V\\Ä" + std::to_string(d) + ".WMV"};
    }
    ~Bench() { DestroyWindow(bar); }
    VideoDialogResult Run(std::vector<Step> steps) {
        g_steps = std::move(steps), g_next = 0;
        const UINT_PTR timer = SetTimer(nullptr, 0, 60, &Tick);
        const VideoDialogResult r = FrmVideoOptions::Show(bar, ctx);
        KillTimer(nullptr, timer);
        EXPECT_EQ(g_next, g_steps.size()) << "steps left";
        return r;
    }
};

// Faults: a row showing another desktop's record or not its own caption, a frame not
// following its on box, the dialog not topmost or without the bar's caption.
TEST(FrmVideoOptions, RowsShowTheirDesktopsRecords) {
    Bench b;
    b.Run({[&](HWND dlg) {
        EXPECT_EQ(Text(dlg), L" Bar caption");
        EXPECT_TRUE(GetWindowLongW(dlg, GWL_EXSTYLE) & WS_EX_TOPMOST);
        for (int d = 1; d <= 6; ++d) {
            const VideoOptionRecord& r = b.options[d];
            EXPECT_EQ(std::tuple(Checked(Row(dlg, d, kVoOn)), Checked(Row(dlg, d, kVoSound)), Checked(Row(dlg, d, kVoRepeat)),
                                 Narrow(Text(Row(dlg, d, kVoFile))), Text(Row(dlg, d, kVoFrame)), IsWindowEnabled(Row(dlg, d, kVoBrowse)) != 0),
                      std::tuple(r.on, r.sound, r.repeat, r.file, L"      Orvanta " + std::to_wstring(d), r.on)) << d;
        }
        PostMessageW(Row(dlg, 3, kVoOn), BM_CLICK, 0, 0);
    }, [](HWND dlg) {
        EXPECT_TRUE(IsWindowEnabled(Row(dlg, 3, kVoFile)));
        Key(dlg, VK_ESCAPE);
    }});
}

// Faults: OK not writing another desktop's row, applying for it or for a case-only change,
// not applying for a real change of the current desktop; Enter not being OK; Escape or the
// close image writing anything or applying; Escape closing on its press.
TEST(FrmVideoOptions, OkWritesEveryRowAndAppliesOnlyARealChangeOfTheCurrentDesktop) {
    const Step ok = [](HWND dlg) { Click(GetDlgItem(dlg, IDOK)); }, enter = [](HWND dlg) { Key(dlg, VK_RETURN); };
    const std::vector<Step> escape = {[](HWND dlg) { PostMessageW(dlg, WM_KEYDOWN, VK_ESCAPE, 0); }, [](HWND dlg) {
        EXPECT_TRUE(IsWindowVisible(dlg)) << "closed on the press";
        PostMessageW(dlg, WM_KEYUP, VK_ESCAPE, 0);
    }};
    const struct {
        const char* name;
        Step edit;
        std::vector<Step> close;
        bool written, isChanged;
    } cases[] = {
        {"another desktop", [](HWND dlg) { PostMessageW(Row(dlg, 4, kVoSound), BM_CLICK, 0, 0); }, {ok}, true, false},
        {"case only", [](HWND dlg) { SetWindowTextW(Row(dlg, 2, kVoFile), L"c:\\v\\ä2.wmv"); }, {enter}, true, false},
        {"current desktop", [](HWND dlg) { PostMessageW(Row(dlg, 2, kVoRepeat), BM_CLICK, 0, 0); }, {ok}, true, true},
        {"escape", [](HWND dlg) { PostMessageW(Row(dlg, 2, kVoOn), BM_CLICK, 0, 0); }, escape, false, false},
        {"close image", [](HWND dlg) { SetWindowTextW(Row(dlg, 2, kVoFile), L"D:\\x.avi"); },
         {[](HWND dlg) { Click(GetDlgItem(dlg, kVidClose)); }}, false, false},
    };
    for (const auto& c : cases) {
        Bench b;
        const VideoOptions before = b.options;
        VideoOptionRows shown;
        std::vector<Step> steps{c.edit, [&](HWND dlg) { for (int d = 1; d <= 6; ++d) shown[d - 1] = {Checked(Row(dlg, d, kVoOn)),
                                    Checked(Row(dlg, d, kVoSound)), Checked(Row(dlg, d, kVoRepeat)), Narrow(Text(Row(dlg, d, kVoFile)))}; }};
        steps.insert(steps.end(), c.close.begin(), c.close.end());
        const VideoDialogResult r = b.Run(steps);
        EXPECT_EQ(std::tuple(r.IsOk, r.IsChanged, b.applied), std::tuple(c.written, c.isChanged, c.isChanged ? 1 : 0)) << c.name;
        for (int d = 1; d <= 6; ++d) {
            const VideoOptionRecord& want = c.written ? shown[d - 1] : before[d];
            EXPECT_EQ(std::tuple(b.options[d].on, b.options[d].sound, b.options[d].repeat, b.options[d].file),
                      std::tuple(want.on, want.sound, want.repeat, want.file)) << c.name << " " << d;
        }
    }
}

// Faults: Browse not opening the open-file dialog with its title and video filter, not at
// the current folder or not with the row's text; a chosen file not taken, a cancel clearing it.
TEST(FrmVideoOptions, BrowseFillsTheFileFromTheOpenFileDialog) {
    test::TempFolder dir;
    test::WriteFile(dir.path() / "clip.avi", "RIFF");
    wchar_t cwd[MAX_PATH] = {};
    GetCurrentDirectoryW(MAX_PATH, cwd);
    SetCurrentDirectoryW(dir.path().c_str());
    Bench b;
    std::wstring title, filter, initial;
    const auto browse = [](HWND dlg) { PostMessageW(Row(dlg, 6, kVoBrowse), BM_CLICK, 0, 0); };
    const auto wait = [](HWND) { test::WaitFor([] { return OpenFileDialog() != nullptr; }, 3000); };
    const auto press = [](int id) { return [id](HWND) { PostMessageW(OpenFileDialog(), WM_COMMAND, id, 0); }; };
    b.Run({browse, wait,
           [&](HWND) {
               const HWND d = OpenFileDialog();
               title = Text(d), filter = Text(GetDlgItem(d, cmb1)), initial = Text(GetDlgItem(d, edt1));
               SetDlgItemTextW(d, edt1, L"clip.avi");
           },
           press(IDOK), [](HWND) {}, browse, wait, press(IDCANCEL), [](HWND) {}, [&](HWND dlg) {
               EXPECT_EQ(Text(Row(dlg, 6, kVoFile)), (dir.path() / "clip.avi").wstring());
               Key(dlg, VK_RETURN);
           }});
    SetCurrentDirectoryW(cwd);
    EXPECT_EQ(std::tuple(title, filter, initial), std::tuple(L"Load Image"s, L"Video Files"s, L"Ä6.WMV"s));  // the dialog shows the name, not the folder
    EXPECT_EQ(b.options[6].file, Narrow((dir.path() / "clip.avi").wstring()));
}

}  // namespace
}  // namespace orv
