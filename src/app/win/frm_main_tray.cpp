// FrmMain's tray icon: its tip and balloons, its mouse buttons, and the tray menu's commands.
#include "app/tray_texts.h"
#include "app/win/frm_main.h"
#include "base/win/log.h"
#include "base/win/utf.h"
#include "controls/win/frm_about.h"

namespace orv {
namespace {
constexpr int kDeskBalloonMs = 1500;  // how long a switch's balloon stays once shown
}  // namespace

// ---------------------------------------------------------------------------------------
// The tray icon

// The bar's icon with the bar's caption as its tip.
void FrmMain::CreateTrayIcon() {
    systray_ = std::make_unique<cSystray>();
    if (!systray_->lhWnd()) Log("The tray icon has no message window: the bar is its only way in");
    systray_->SetListener(&trayEvents_);
    systray_->SysTrayIconFromHandle(icon_);
    // The balloons of a switch: under the program's name, never with a sound.
    systray_->SetBalloonIcon(NIIF_NOSOUND);
    systray_->SetBalloonTitle(flavour_.productName);
    ShowDeskInTray(false);
    systray_->SysTrayShow(true);
}

void FrmMain::ShowDeskInTray(bool balloon) {
    if (!systray_ || !desks_) return;
    wchar_t caption[256] = {};
    GetWindowTextW(hwnd(), caption, 256);
    const int desk = desks_->CurrentDesk();
    systray_->SetSysTrayToolTip(TrayTipText(Narrow(caption), settings_.TrayTipsOn, desk));
    if (!balloon || !settings_.TrayTipsOn) return;
    systray_->SetBalloonText(DeskName(desk));
    systray_->BalloonShow(true, kDeskBalloonMs, true);
}

// The icon leaves the taskbar; the object itself goes at the end of the unload.
void FrmMain::RemoveTrayIcon() {
    if (systray_) systray_->DoTerminate();
}

void FrmMain::TrayMouseDown(int button) {
    if (button == 1) {
        FrmAbout::Close();
        ShowWindow(hwnd(), SW_SHOWNORMAL);
        if (menu_) {
            menu_->mnuPop_Click(0);  // "Show"
        } else {
            ShowBar(topmost_);
        }
    } else if (button == 2) {
        ShowTrayMenu();
    }
}

// The menu opens at the pointer, where the user clicked the icon.
void FrmMain::ShowTrayMenu() {
    if (!menu_) return;
    POINT pt{};
    GetCursorPos(&pt);
    menu_->Popup(pt);
}

// "Show" and "Show on top": the bar shown in the layer the menu's check mark gives.
void FrmMain::ShowBar(bool topmost) {
    topmost_ = topmost;
    SetWindowPos(hwnd(), topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOACTIVATE | SWP_SHOWWINDOW);
}

// The tray menu's dialogs, as the bar's buttons open them; the video settings chosen here
// take effect at the next switch.
void FrmMain::OpenSettings() {
    RunModalDialog([this](HWND owner) { ShowAdvOptions(owner); });
}
void FrmMain::OpenVideoSettings() {
    RunModalDialog([this](HWND owner) { ShowVideoOptions(owner, false); });
}

void FrmMain::ShowAbout() { FrmAbout::Show(menu_ ? menu_->Icon() : icon_, menu_ ? menu_->hwnd() : nullptr); }

}  // namespace orv
