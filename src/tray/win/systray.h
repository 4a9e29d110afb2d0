// cSystray: one icon in the taskbar's notification area. It owns a hidden message window
// (class "STATIC") that receives the icon's notifications, adds, changes and removes the
// icon, shows balloons where the shell has them, turns the notifications into events for
// a listener, and adds the icon again when the taskbar is recreated ("TaskbarCreated").
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <string>
#include <string_view>

#include "tray/tray_events.h"
#include "tray/win/message_hook.h"

namespace orv {

// The events of the icon; a listener may end the cSystray from inside any of them.
class SystrayListener {
public:
    virtual void MouseMove() {}
    virtual void MouseDown(int /*button: 1 left, 2 right, 4 middle*/) {}
    virtual void MouseUp(int /*button*/) {}
    virtual void MouseDblClick(int /*button*/) {}
    virtual void BalloonClose() {}
    virtual void BalloonClick() {}
    virtual void BalloonShow() {}
    virtual void BalloonHide() {}

protected:
    ~SystrayListener() = default;
};

class cSystray {
public:
    cSystray();
    ~cSystray() { DoTerminate(); }
    cSystray(const cSystray&) = delete;
    cSystray& operator=(const cSystray&) = delete;

    void SetListener(SystrayListener* listener) { listener_ = listener; }  // not owned; null: none
    // An external procedure that gets every notification as (lhWnd, code, ExtraParam, 0).
    void SetProc(WNDPROC proc) { proc_ = proc; }
    HWND lhWnd() const { return window_; }
    WPARAM ExtraParam() const { return extraParam_; }
    void SetExtraParam(WPARAM value) { extraParam_ = value; }
    // The end of life now: the icon goes, the window too; the destructor then does nothing.
    void DoTerminate();

    // Adds or updates the icon (true) or removes it (false).
    void SysTrayShow(bool show = false);
    // Shows or hides the balloon; false when the shell has no balloons (nothing is done).
    // A timeout other than -1 removes the balloon that long after the shell reports it shown.
    bool BalloonShow(bool show = false, int timeoutMs = -1, bool noSound = false);
    bool IsBalloonCapable() const { return orv::IsBalloonCapable(record_); }
    // For a host about to open a popup menu for the icon.
    void BeforePopup() { SetForegroundWindow(window_); }

    void SysTrayIconFromHandle(HICON icon);  // not owned
    bool SysTrayIconFromFile(const std::string& file);     // a 16 x 16 icon from an icon file
    bool SysTrayIconFromRes(const std::string& resName);   // a 16 x 16 icon of the program's
    bool SysTrayIconFromCompRes(const std::string& file, int iconIndex);  // a large icon of an exe or dll

    const std::string& SysTrayToolTip() const { return tip_; }
    void SetSysTrayToolTip(std::string_view tip);
    DWORD BalloonIcon() const { return balloonIcon_; }
    void SetBalloonIcon(DWORD niifFlags);
    const std::string& BalloonTitle() const { return balloonTitle_; }
    void SetBalloonTitle(std::string_view title);
    const std::string& BalloonText() const { return balloonText_; }
    void SetBalloonText(std::string_view text);

private:
    void OnMessage(UINT msg, LPARAM lp);
    void OnNotification(UINT code);
    static void CALLBACK BalloonTimer(HWND hwnd, UINT, UINT_PTR id, DWORD) noexcept;
    UINT_PTR BalloonTimerId() const { return reinterpret_cast<UINT_PTR>(this) + 1; }
    void StopBalloonTimer();
    void Notify(DWORD message);
    bool UseLoadedIcon(HICON icon, bool shared);
    void ReleaseLoadedIcon();

    NotifyRecord record_;
    NOTIFYICONDATAW data_{};
    HWND window_ = nullptr;
    MessageHook hook_;
    UINT taskbarCreated_ = 0;
    bool shown_ = false;
    HICON icon_ = nullptr;
    HICON loaded_ = nullptr;  // loaded by this class; a shared one is the system's to free
    bool loadedShared_ = false;
    std::string tip_, balloonTitle_, balloonText_;
    DWORD balloonIcon_ = 0;
    int balloonTimeout_ = -1;
    WNDPROC proc_ = nullptr;
    WPARAM extraParam_ = 0;
    SystrayListener* listener_ = nullptr;
};

}  // namespace orv
