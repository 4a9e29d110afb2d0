// frmMenu: the hidden form that owns the tray icon's popup menu mnuPopUp and its background
// picture, and runs the menu's commands through the main form (MenuHost).
#pragma once

#include <windows.h>

#include <memory>

#include "base/win/handles.h"
#include "base/win/window_base.h"

namespace orv {

struct FlavourInfo;
class SettingsStore;

// What the menu's commands ask of the main form.
class MenuHost {
public:
    // "Show": the bar shown and put on the top layer or the normal one (SetWindowPos with
    // HWND_TOPMOST or HWND_NOTOPMOST, no move, no size, no activation, shown).
    virtual void ShowBar(bool topmost) = 0;
    // "Settings" and "Video Settings": the dialog, modal with the bar as owner; a visible
    // bar is hidden meanwhile.
    virtual void OpenSettings() = 0;
    virtual void OpenVideoSettings() = 0;
    // "About": the about box, not modal.
    virtual void ShowAbout() = 0;
    // frmMain's DoAction with bCheckSwitch true: 1..6 switch, 99 asks to quit.
    virtual void DoAction(int index) = 0;

protected:
    ~MenuHost() = default;
};

class FrmMenu final : public Window {
public:
    // The hidden form with its menu built from the tray menu's table for the flavour; null
    // on failure. host and store must outlive the form.
    static std::unique_ptr<FrmMenu> Create(MenuHost& host, SettingsStore& store, const FlavourInfo& flavour);
    ~FrmMenu() override;

    // Start-up: the owner-drawn menus with the tray menu's style and the background picture.
    bool SetupTrayMenu();
    // Shutdown: the owner-drawn handling goes (the form itself goes with the object).
    void RemoveTrayMenu();

    // Opens mnuPopUp at pt (screen coordinates) as a tray menu: the form becomes the
    // foreground window first, so the menu closes when the user clicks elsewhere. The
    // chosen command runs after the menu closes.
    void Popup(POINT pt);

    void mnuPop_Click(int index);
    void mnuS_Click(int index);

    // The check mark of "Show on top" (start-up sets it from TOPMOST).
    bool ShowOnTop() const;
    void SetShowOnTop(bool on);

    // The current desktop's item of "Switch" carries the check mark, the others none.
    void MarkCurrentDesk(int desk);

    HMENU mnuPopUp() const;
    HICON Icon() const { return icon_; }
    // Image1: the menus' background picture (also the video dialog's header picture).
    HBITMAP Image1() const { return image1_.get(); }

private:
    FrmMenu(MenuHost& host, SettingsStore& store) : host_(host), store_(store) {}
    bool Build(const FlavourInfo& flavour);
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    MenuHost& host_;
    SettingsStore& store_;
    HICON icon_ = nullptr;
    UniqueBitmap image1_;
    bool installed_ = false;
};

// The menus' background: a light wash from white to pale blue across, which keeps dark
// text readable.
UniqueBitmap MakeMenuBackground();

}  // namespace orv
