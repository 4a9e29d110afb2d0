// FrmMain's settings plumbing and the windows it opens: the settings and video dialogs, the
// snapshot (frm_main.cpp has the bar and the desktops, frm_main_tray.cpp the tray icon).
#include <shlobj.h>

#include "app/win/app_paths.h"
#include "app/win/frm_main.h"
#include "base/win/log.h"
#include "base/win/utf.h"
#include "controls/win/browse_folder.h"
#include "settings/win/frm_adv_options.h"
#include "settings/win/registry_mod.h"
#include "snapshot/win/frm_capture.h"
#include "video/win/frm_video_options.h"

namespace orv {

// ---------------------------------------------------------------------------------------
// Settings plumbing

void FrmMain::SetAutoStart(bool on) { orv::SetAutoStart(on, AutoStartFor(ExePath())); }

std::string FrmMain::DocumentsFolder() { return GetSpecialFolder(CSIDL_PERSONAL); }

// The hotkeys go onto windows of their own owned by the bar; a press switches as the
// bar's desktop buttons do, or starts a snapshot as its snapshot button does.
void FrmMain::LoadHotkeys() {
    if (hotkeys_) return;
    hotkeys_ = std::make_unique<AppHotkeys>(
        flavour_, AppHotkeys::Handlers{[this](int desk) { DoAction(desk); }, [this] { StartSnapshot(); }});
    hotkeys_->Load(*store_, hwnd());
}

void FrmMain::SaveHotkeys() {
    if (hotkeys_) hotkeys_->Save(*store_);
}

std::array<KHotKeyCtl*, kHotkeyCount> FrmMain::HotkeyCtls() {
    return hotkeys_ ? hotkeys_->Controls() : std::array<KHotKeyCtl*, kHotkeyCount>{};
}

// The six desktops' video records; the first load writes the first-run defaults, with the
// sample videos beside the program.
void FrmMain::LoadVideoSettings() {
    for (int desk = 1; desk <= kVideoDesks; ++desk) LoadVideoSetting(*store_, videoOptions_, desk, ProgramFolder());
}
void FrmMain::SaveVideoSettings() {
    for (int desk = 1; desk <= kVideoDesks; ++desk) SaveVideoSetting(*store_, videoOptions_, desk);
}

// ---------------------------------------------------------------------------------------
// The snapshot, video and settings buttons

void FrmMain::RunModalDialog(const std::function<void(HWND owner)>& dialog) {
    barWasShown_ = false;
    if (IsWindowVisible(hwnd())) {
        ShowWindow(hwnd(), SW_HIDE);
        barWasShown_ = true;
    }
    dialog(hwnd());  // returns when the dialog closes
    if (barWasShown_) ShowWindow(hwnd(), SW_SHOW);
}

namespace {
double SecondsSinceMidnight() {
    SYSTEMTIME t{};
    GetLocalTime(&t);
    return t.wHour * 3600.0 + t.wMinute * 60.0 + t.wSecond + t.wMilliseconds / 1000.0;
}
}  // namespace

// The bar goes, the screen settles for a moment (menus and tips fade), then it freezes for
// the selection; the bar comes back when the selection ends, captured or cancelled.
void FrmMain::StartSnapshot() {
    if (snapStarting_ || FrmCapture::IsOpen()) return;
    snapStarting_ = true;
    if (IsWindowVisible(hwnd())) {
        ShowWindow(hwnd(), SW_HIDE);
        barHiddenForSnap_ = true;
    }
    for (const SnapPause pause(SecondsSinceMidnight()); !pause.Over(SecondsSinceMidnight());) {
        PumpMessages();
        MsgWaitForMultipleObjects(0, nullptr, FALSE, 10, QS_ALLINPUT);
    }
    snapStarting_ = false;
    if (unloaded_) return;
    auto barBack = [this] {
        if (!barHiddenForSnap_ || unloaded_) return;
        barHiddenForSnap_ = false;
        ShowWindow(hwnd(), SW_SHOWNORMAL);
    };
    auto tell = [this](const std::string& text) {
        if (!systray_) return;
        systray_->SetBalloonText(text);
        systray_->BalloonShow(true, -1, true);
    };
    if (!FrmCapture::Show(SnapContext{settings_, ProgramFolder(), barBack, tell})) barBack();
}

// The settings dialog on the application's values and live hotkeys; what takes effect at once
// follows when it closes.
void FrmMain::ShowAdvOptions(HWND owner) {
    AdvOptionsContext context{settings_, HotkeyCtls(), *store_, [this](bool on) { SetAutoStart(on); },
                              Widen(folders_.HelpFile(flavour_)), &BrowseForFolder, hwnd()};
    FrmAdvOptions::Show(owner, context);
    ApplyImmediateSettings();
}
// The video settings dialog on the six records, followed (from the bar) by applying the
// current desktop's record again when OK changed it.
void FrmMain::ShowVideoOptions(HWND owner, bool applyChange) {
    VideoOptionsContext context{videoOptions_, [this] { return desks_ ? desks_->CurrentDesk() : 1; }, hwnd(),
                                menu_ ? menu_->Image1() : nullptr, nullptr};
    if (applyChange) context.applyCurrentDesktopVideo = [this] { if (desks_) desks_->ApplyCurrentDesktopVideo(); };
    FrmVideoOptions::Show(owner, context);
}

// At the end of the unload, after SaveSettings wrote them: each hotkey switched off, then
// stopped (unregistered, its window unhooked).
void FrmMain::StopHotkeys() {
    if (hotkeys_) hotkeys_->Stop();
}

void FrmMain::ApplyImmediateSettings() { ShowDeskInTray(false); }

}  // namespace orv
