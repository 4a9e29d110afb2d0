// frmMain: the bar, and the owner of the application-wide state for the whole run.
#pragma once

#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "app/desk_manager.h"
#include "app/flavour.h"
#include "app/win/journal_file.h"
#include "app/win/look_ops.h"
#include "app/win/shell_files.h"
#include "app/win/window_ops.h"
#include "base/win/handles.h"
#include "base/win/window_base.h"
#include "settings/settings.h"
#include "settings/win/registry_store.h"
#include "tray/win/frm_menu.h"
#include "tray/win/systray.h"

namespace orv {

// A small picture button: a strip shown through a frame, its pressed half while the button
// is down. The action runs on the mouse up, wherever the pointer is then.
class ImageButton final : public Window {
public:
    bool Create(HWND parent, int id, int x, int y, HBITMAP strip, std::function<void()> onUp);

private:
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;
    bool pressed_ = false;
    HBITMAP strip_ = nullptr;
    std::function<void()> onUp_;
};

class FrmMain final : public Window, private DeskUi, private SettingsHost, private MenuHost {
public:
    FrmMain();
    ~FrmMain() override;

    // Start-up, the message loop, shutdown. Returns the process exit code.
    int Run();
    // A desktop number switches to it, kActionHideBar hides the bar, kActionQuit asks to quit.
    void DoAction(int index) override;
    // The fatal path's part (any thread, the state maybe broken): every recorded window is
    // shown again without waiting on it, and desktop 1's look is requested and waited for
    // a bounded time.
    void RestoreOnCrash() noexcept;

private:
    bool FormLoad();
    bool MakeDataFolders();
    void StartFailed(const std::string& what, DWORD error);
    void FormQueryUnload();
    bool CreateBar();
    void PlaceBar();
    void KeepBarOnTop();
    static void PumpMessages();
    LRESULT OnMessage(UINT msg, WPARAM wp, LPARAM lp) override;

    // DeskUi
    void MarkCurrentDesk(int desk) override;
    void HideBar() override;
    bool ConfirmQuit() override;
    void EndApplication() override;

    // SettingsHost
    void SetAutoStart(bool on) override;
    std::string DocumentsFolder() override;
    void LoadHotkeys() override;
    void SaveHotkeys() override;
    void LoadVideoSettings() override;
    void SaveVideoSettings() override;

    // Seams for the parts that arrive later: the tray icon with its menu, and hotkeys.
    void CreateTrayIcon();
    void RemoveTrayIcon();
    void StopHotkeys();

    // The tray icon's mouse button: the left one brings the bar back, the right one opens the menu.
    void TrayMouseDown(int button);
    void ShowTrayMenu();  // the owner-drawn tray menu

    // MenuHost: the tray menu's commands
    void ShowBar(bool topmost) override;
    void OpenSettings() override;
    void OpenVideoSettings() override;
    void ShowAbout() override;

    const FlavourInfo& flavour_;
    UniqueHandle instanceMutex_;
    AppFolders folders_;
    std::unique_ptr<RegistryStore> store_;
    Settings settings_;
    Win32WindowOps windowOps_;
    Win32LookOps lookOps_;
    ShellIconShelf iconShelf_;
    NoDesktopVideo video_;  // the video wallpaper's place in the switch
    std::unique_ptr<DeskWindows> deskWindows_;
    std::unique_ptr<DesktopLook> look_;
    std::unique_ptr<DeskManager> desks_;
    std::unique_ptr<Win32JournalOps> journalOps_;
    std::unique_ptr<DeskJournal> journal_;

    HWND deskButtons_[kDeskCount] = {};
    ImageButton quitButton_;
    ImageButton hideButton_;
    UniqueBitmap quitStrip_;
    UniqueBitmap hideStrip_;
    UniqueFont font_;
    HICON icon_ = nullptr;
    bool unloaded_ = false;
    bool topmost_ = true;
    int relayersLeft_ = 0;

    struct TrayEvents final : SystrayListener {
        explicit TrayEvents(FrmMain& bar) : bar(bar) {}
        void MouseDown(int button) override { bar.TrayMouseDown(button); }
        FrmMain& bar;
    };
    TrayEvents trayEvents_{*this};
    std::unique_ptr<cSystray> systray_;  // oSysTray
    std::unique_ptr<FrmMenu> menu_;      // frmMenu with the tray menu
};

}  // namespace orv
