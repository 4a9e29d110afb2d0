#include "tray/win/frm_menu.h"

#include <string>

#include "app/desk_manager.h"
#include "app/flavour.h"
#include "base/win/log.h"
#include "base/win/utf.h"
#include "settings/settings.h"
#include "tray/od_menu_model.h"
#include "tray/win/od_menu.h"

#include "../../../res/resource.h"

namespace orv {

namespace {
constexpr wchar_t kMenuFormClass[] = L"OrvantaMenuForm";
constexpr int kBackgroundWidth = 512;
constexpr int kBackgroundHeight = 4;
}  // namespace

UniqueBitmap MakeMenuBackground() {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = kBackgroundWidth;
    bi.bmiHeader.biHeight = -kBackgroundHeight;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    UniqueBitmap bmp(CreateDIBSection(nullptr, &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    if (!bmp) return {};
    auto* px = static_cast<std::uint32_t*>(bits);
    // From RGB(253, 254, 255) at the left to RGB(233, 241, 250) at the right; every other
    // row a shade lighter, a fine weave that reads as paper rather than as a flat fill.
    for (int y = 0; y < kBackgroundHeight; ++y)
        for (int x = 0; x < kBackgroundWidth; ++x) {
            const int lift = (y % 2) ? 2 : 0;
            const int r = std::min(255, 253 - 20 * x / kBackgroundWidth + lift);
            const int g = std::min(255, 254 - 13 * x / kBackgroundWidth + lift);
            const int b = 255 - 5 * x / kBackgroundWidth;
            px[y * kBackgroundWidth + x] = static_cast<std::uint32_t>((r << 16) | (g << 8) | b);
        }
    GdiFlush();
    return bmp;
}

std::unique_ptr<FrmMenu> FrmMenu::Create(MenuHost& host, SettingsStore& store, const FlavourInfo& flavour) {
    std::unique_ptr<FrmMenu> form(new FrmMenu(host, store));
    if (!form->Build(flavour)) return nullptr;
    return form;
}

FrmMenu::~FrmMenu() { RemoveTrayMenu(); }

bool FrmMenu::Build(const FlavourInfo& flavour) {
    icon_ = static_cast<HICON>(
        LoadImageW(ModuleInstance(), MAKEINTRESOURCEW(IDI_APP), IMAGE_ICON, 0, 0, LR_DEFAULTSIZE | LR_SHARED));
    if (!RegisterClassOnce(kMenuFormClass, icon_) ||
        !Window::Create(kMenuFormClass, Widen(flavour.appTitle).c_str(), WS_OVERLAPPEDWINDOW, WS_EX_TOOLWINDOW, 0, 0,
                        0, 0, nullptr)) {
        LogError("FrmMenu: CreateWindowExW");
        return false;
    }
    image1_ = MakeMenuBackground();
    HMENU bar = CreateMenu();
    HMENU pop = CreatePopupMenu();
    HMENU desks = CreatePopupMenu();
    for (int i = 1; i <= kSwitchItemCount; ++i)
        if (SwitchItemVisible(i, flavour))
            AppendMenuW(desks, MF_STRING, static_cast<UINT_PTR>(kSwitchCommandBase + i), Widen(SwitchCaption(i)).c_str());
    for (const TrayMenuItem& item : TrayMenuItems()) {
        if (!PopItemVisible(item.index, flavour)) continue;
        if (IsSeparatorCaption(item.caption))
            AppendMenuW(pop, MF_SEPARATOR, 0, nullptr);
        else if (item.submenu)
            AppendMenuW(pop, MF_POPUP, reinterpret_cast<UINT_PTR>(desks), Widen(item.caption).c_str());
        else
            AppendMenuW(pop, MF_STRING, static_cast<UINT_PTR>(kPopCommandBase + item.index), Widen(item.caption).c_str());
    }
    AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(pop), L"PopUp");
    if (!SetMenu(hwnd(), bar)) {
        LogError("FrmMenu: SetMenu");
        DestroyMenu(bar);
        return false;
    }
    return true;
}

bool FrmMenu::SetupTrayMenu() {
    if (installed_) return true;
    installed_ = InstallODMenu(hwnd(), true);
    SetODMenuStyle(kTrayMenuStyle, image1_.get());
    return installed_;
}

void FrmMenu::RemoveTrayMenu() {
    if (!installed_) return;
    installed_ = false;
    RemoveODMenu(hwnd());
}

HMENU FrmMenu::mnuPopUp() const { return GetSubMenu(GetMenu(hwnd()), 0); }

bool FrmMenu::ShowOnTop() const {
    return GetMenuState(mnuPopUp(), kPopCommandBase + 1, MF_BYCOMMAND) & MF_CHECKED;
}

void FrmMenu::SetShowOnTop(bool on) {
    CheckMenuItem(mnuPopUp(), kPopCommandBase + 1, MF_BYCOMMAND | (on ? MF_CHECKED : MF_UNCHECKED));
}

void FrmMenu::MarkCurrentDesk(int desk) {
    for (int i = 1; i <= kSwitchItemCount; ++i)
        CheckMenuItem(mnuPopUp(), kSwitchCommandBase + i, MF_BYCOMMAND | (i == desk ? MF_CHECKED : MF_UNCHECKED));
}

void FrmMenu::Popup(POINT pt) {
    // The tray menu rules: the owner in the foreground first, so a click elsewhere closes
    // the menu; a message after it, so the menu's end is seen at once.
    // The hidden form stands where the menu opens, so its DPI (and the items') is that
    // monitor's.
    SetWindowPos(hwnd(), nullptr, pt.x, pt.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    SetForegroundWindow(hwnd());
    TrackPopupMenu(mnuPopUp(), 0, pt.x, pt.y, 0, hwnd(), nullptr);
    PostMessageW(hwnd(), WM_NULL, 0, 0);
}

void FrmMenu::mnuPop_Click(int index) {
    switch (PopActionFor(index)) {
    case PopAction::Show:
        host_.ShowBar(ShowOnTop());
        break;
    case PopAction::ToggleTopmost: {
        const bool on = !ShowOnTop();
        SetShowOnTop(on);
        WriteTopmost(store_, on);
        host_.ShowBar(on);
        break;
    }
    case PopAction::Settings:
        host_.OpenSettings();
        break;
    case PopAction::VideoSettings:
        host_.OpenVideoSettings();
        break;
    case PopAction::About:
        host_.ShowAbout();
        break;
    case PopAction::Exit:
        host_.DoAction(kActionQuit);
        break;
    case PopAction::None:
        break;
    }
}

void FrmMenu::mnuS_Click(int index) {
    if (const auto desk = SwitchDeskFor(index)) host_.DoAction(*desk);
}

LRESULT FrmMenu::OnMessage(UINT msg, WPARAM wp, LPARAM lp) {
    if (msg == WM_COMMAND && HIWORD(wp) == 0) {
        if (const auto cmd = DecodeTrayCommand(LOWORD(wp))) {
            cmd->isSwitch ? mnuS_Click(cmd->index) : mnuPop_Click(cmd->index);
            return 0;
        }
    }
    return Default(msg, wp, lp);
}

}  // namespace orv
